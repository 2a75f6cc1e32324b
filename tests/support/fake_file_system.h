#pragma once
// A file system whose listings are what the test says, in the order it says,
// and can fail part-way.
#include <map>
#include <set>
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
  // Keyed by the listing pattern exactly as the program passes it; a pattern
  // not here that names a file of `contents` lists that one file.
  std::map<std::string, Folder> listings;
  int listingsStarted = 0;

  // Whole files by path; a path that is not here cannot be read. Writes,
  // copies, renames and new folders land here too, unless `failWrites` names
  // the target path with the error to give; a path in `failReads` cannot be
  // read, with its error.
  std::map<std::string, std::string> contents;
  std::map<std::string, Error> failWrites;
  std::map<std::string, Error> failReads;
  std::set<std::string> folders;
  std::vector<std::string> writes;  // every path written, in order

  std::unique_ptr<fs::FileListing> ListNormalFiles(const std::string& pattern) override;
  Result<std::string> ReadWholeFile(const std::string& path) override;
  Status WriteWholeFile(const std::string& path, std::string_view content) override;
  Status CheckReadable(const std::string& path) override;
  Status Copy(const std::string& from, const std::string& to) override;
  Status Rename(const std::string& from, const std::string& to) override;
  Status Delete(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  Status CreateFolder(const std::string& path) override;
};

}  // namespace vexmar::testing
