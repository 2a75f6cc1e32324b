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
  // The n-th call (counting from 1) of Begin, of Update or UpdateFromFile,
  // of Commit fails; 0 never.
  int failBegin = 0, failUpdate = 0, failCommit = 0;
  int begins = 0, updates = 0, commits = 0;

  Result<std::unique_ptr<build::ResourceUpdate>> Begin(const std::string& path) override;
};

}  // namespace vexmar::testing
