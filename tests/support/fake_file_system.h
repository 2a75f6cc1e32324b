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
    int failAfter = -1;  // the listing fails (yields empty) after this many names; -1 never
  };
  // Keyed by the listing pattern exactly as the program passes it; a pattern
  // not here that names a file of `contents` lists that one file.
  std::map<std::string, Folder> listings;
  int listingsStarted = 0;
  // The sub-folders of a folder (keyed by its text, ending in the separator).
  std::map<std::string, std::vector<std::string>> subfolders;
  // Whole files by path; a path that is not here cannot be read. Writes,
  // copies, renames and new folders land here too, unless `failWrites` names
  // the target path with the error to give; a path in `failReads` cannot be
  // read, with its error.
  std::map<std::string, std::string> contents;
  std::map<std::string, Error> failWrites, failReads;
  std::set<std::string> folders;
  std::vector<std::string> writes;  // every path written, in order

  std::unique_ptr<fs::FileListing> ListNormalFiles(const std::string& pattern) override {
    ++listingsStarted;
    const auto it = listings.find(pattern);
    if (it != listings.end()) return std::make_unique<Listing>(it->second);
    Folder single;  // a lookup of one file finds it among the contents, by its bare name
    if (contents.count(pattern) > 0) {
      single.names.push_back(pattern.substr(pattern.find_last_of("\\/") + 1));
    }
    return std::make_unique<Listing>(single);
  }
  std::unique_ptr<fs::FileListing> ListSubfolders(const std::string& folder) override {
    Folder listed;
    if (subfolders.count(folder) > 0) listed.names = subfolders[folder];
    return std::make_unique<Listing>(listed);
  }
  Result<std::string> ReadWholeFile(const std::string& path) override {
    if (failReads.count(path) > 0) return failReads[path];
    if (contents.count(path) > 0) return contents[path];
    return Fail("the file or its folder does not exist", ErrorKind::NotFound);
  }
  Status ReadInPieces(const std::string& path,
                      const std::function<void(std::string_view)>& piece) override {
    const Result<std::string> content = ReadWholeFile(path);
    if (!content) return content.error();
    piece(content.value());
    return {};
  }
  Status WriteFileFrom(const std::string& path, fs::ContentSource& content) override {
    if (failWrites.count(path) > 0) return failWrites[path];
    std::string bytes;
    for (;;) {
      const Result<std::string_view> piece = content.Next();
      if (!piece) return piece.error();
      if (piece.value().empty()) break;
      bytes += piece.value();
    }
    writes.push_back(path);
    contents[path] = std::move(bytes);
    return {};
  }
  Status CheckReadable(const std::string& path) override {
    const Result<std::string> content = ReadWholeFile(path);
    return content ? Status{} : Status{content.error()};
  }
  // The copy is `beside` + ".partial": one name, for tests to aim faults at.
  Result<std::string> CopyToTemporary(const std::string& from, const std::string& beside) override {
    const Status copied = Copy(from, beside + ".partial");
    if (!copied) return copied.error();
    return beside + ".partial";
  }
  Status Rename(const std::string& from, const std::string& to) override {
    const Status copied = Copy(from, to);
    if (copied) contents.erase(from);
    return copied;
  }
  Status Delete(const std::string& path) override {
    if (contents.erase(path) > 0) return {};
    return Fail("the file or its folder does not exist", ErrorKind::NotFound);
  }
  Status Copy(const std::string& from, const std::string& to) {
    const Result<std::string> content = ReadWholeFile(from);
    return content ? WriteWholeFile(to, content.value()) : Status{content.error()};
  }
  bool FolderExists(const std::string& path) override { return folders.count(path) > 0; }
  Status CreateFolder(const std::string& path) override {
    if (failWrites.count(path) > 0) return failWrites[path];
    folders.insert(path);
    return {};
  }

 private:
  class Listing final : public fs::FileListing {
   public:
    explicit Listing(Folder folder) : folder_(std::move(folder)) {}
    std::string Next() override {
      if (failed_ || next_ >= folder_.names.size()) return {};
      failed_ = folder_.failAfter >= 0 && next_ >= static_cast<std::size_t>(folder_.failAfter);
      return failed_ ? std::string() : folder_.names[next_++];
    }

   private:
    Folder folder_;
    std::size_t next_ = 0;
    bool failed_ = false;
  };
};

}  // namespace vexmar::testing
