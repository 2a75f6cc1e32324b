#pragma once
// A file system whose listings are what the test says, in the order it says,
// and can fail part-way.
#include <map>
#include <string>
#include <vector>

#include "platform/fs/file_system.h"

namespace vexmar::testing {

class FakeFileSystem final : public fs::FileSystem {
 public:
  struct Folder {
    std::vector<std::string> names;
    // The listing fails (yields empty) after this many names; -1 never.
    int failAfter = -1;
  };
  // Keyed by the listing pattern exactly as the program passes it.
  std::map<std::string, Folder> listings;
  int listingsStarted = 0;

  // Whole files by path; a path that is not here cannot be read. Writes
  // land here too, unless `failWrites` names the path with a reason.
  std::map<std::string, std::string> contents;
  std::map<std::string, std::string> failWrites;
  std::vector<std::string> writes;  // every path written, in order

  std::unique_ptr<fs::FileListing> ListNormalFiles(const std::string& pattern) override;
  Result<std::string> ReadWholeFile(const std::string& path) override;
  Status ReplaceFile(const std::string& path, std::string_view content) override;
};

}  // namespace vexmar::testing
