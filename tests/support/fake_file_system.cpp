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

std::optional<std::string> FakeFileSystem::ReadWholeFile(const std::string& path) {
  const auto it = contents.find(path);
  if (it == contents.end()) return std::nullopt;
  return it->second;
}

}  // namespace vexmar::testing
