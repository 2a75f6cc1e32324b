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
  return std::make_unique<FakeListing>(it == listings.end() ? Folder{} : it->second);
}

Result<std::string> FakeFileSystem::ReadWholeFile(const std::string& path) {
  const auto it = contents.find(path);
  if (it == contents.end()) return Fail("the file or its folder does not exist");
  return it->second;
}

Status FakeFileSystem::ReplaceFile(const std::string& path, std::string_view content) {
  const auto failure = failWrites.find(path);
  if (failure != failWrites.end()) return Fail(failure->second);
  writes.push_back(path);
  contents[path] = std::string(content);
  return {};
}

}  // namespace vexmar::testing
