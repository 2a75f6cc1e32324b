#include "support/fake_file_system.h"

namespace vexmar::testing {
namespace {

class FakeListing final : public fs::FileListing {
 public:
  explicit FakeListing(FakeFileSystem::Folder folder) : folder_(std::move(folder)) {}
  std::string Next() override {
    if (failed_ || next_ >= folder_.names.size()) return {};
    if (folder_.failAfter >= 0 && next_ >= static_cast<std::size_t>(folder_.failAfter)) {
      failed_ = true;
      return {};
    }
    return folder_.names[next_++];
  }

 private:
  FakeFileSystem::Folder folder_;
  std::size_t next_ = 0;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<fs::FileListing> FakeFileSystem::ListNormalFiles(const std::string& pattern) {
  ++listingsStarted;
  const auto it = listings.find(pattern);
  if (it != listings.end()) return std::make_unique<FakeListing>(it->second);
  // A lookup of one file finds it among the contents, by its bare name.
  Folder single;
  if (contents.count(pattern) > 0) {
    const auto slash = pattern.find_last_of("\\/");
    single.names.push_back(slash == std::string::npos ? pattern : pattern.substr(slash + 1));
  }
  return std::make_unique<FakeListing>(single);
}

Result<std::string> FakeFileSystem::ReadWholeFile(const std::string& path) {
  const auto failure = failReads.find(path);
  if (failure != failReads.end()) return failure->second;
  const auto it = contents.find(path);
  if (it == contents.end()) {
    return Fail("the file or its folder does not exist", ErrorKind::NotFound);
  }
  return it->second;
}

Status FakeFileSystem::WriteWholeFile(const std::string& path, std::string_view content) {
  const auto failure = failWrites.find(path);
  if (failure != failWrites.end()) return failure->second;
  writes.push_back(path);
  contents[path] = std::string(content);
  return {};
}

Status FakeFileSystem::CheckReadable(const std::string& path) {
  const Result<std::string> content = ReadWholeFile(path);
  return content ? Status{} : Status{content.error()};
}

Status FakeFileSystem::Copy(const std::string& from, const std::string& to) {
  const Result<std::string> content = ReadWholeFile(from);
  return content ? WriteWholeFile(to, content.value()) : Status{content.error()};
}

Status FakeFileSystem::Rename(const std::string& from, const std::string& to) {
  const Status copied = Copy(from, to);
  if (copied) contents.erase(from);
  return copied;
}

Status FakeFileSystem::Delete(const std::string& path) {
  if (contents.erase(path) > 0) return {};
  return Fail("the file or its folder does not exist", ErrorKind::NotFound);
}

bool FakeFileSystem::FolderExists(const std::string& path) { return folders.count(path) > 0; }

Status FakeFileSystem::CreateFolder(const std::string& path) {
  const auto failure = failWrites.find(path);
  if (failure != failWrites.end()) return failure->second;
  folders.insert(path);
  return {};
}

}  // namespace vexmar::testing
