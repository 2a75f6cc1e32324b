#pragma once
// Resource updates that record what the build writes, and fail where a test
// says so.
#include <string>
#include <vector>

#include "build/resource_updates.h"

namespace vexmar::testing {

class FakeResourceUpdates final : public build::ResourceUpdates {
 public:
  // One line per call: "begin PATH", "update TYPE NAME LANGUAGE DATA",
  // "file TYPE NAME LANGUAGE SOURCE", "commit".
  std::vector<std::string> log;
  int failBegin = 0;   // the n-th Begin fails (counting from 1); 0 never
  int failUpdate = 0;  // the n-th Update or UpdateFromFile fails
  int failCommit = 0;  // the n-th Commit fails

  Result<std::unique_ptr<build::ResourceUpdate>> Begin(const std::string& path) override;

  int begins = 0;
  int updates = 0;
  int commits = 0;
};

}  // namespace vexmar::testing
