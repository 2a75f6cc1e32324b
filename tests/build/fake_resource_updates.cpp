#include "build/fake_resource_updates.h"

namespace vexmar::testing {
namespace {

std::string Id(const build::EntryId& id) {
  return id.number != 0 ? std::to_string(id.number) : id.text;
}

class FakeUpdate final : public build::ResourceUpdate {
 public:
  explicit FakeUpdate(FakeResourceUpdates& owner) : owner_(owner) {}
  Status Update(const build::EntryId& type, const build::EntryId& name, int language,
                const std::string& data) override {
    if (++owner_.updates == owner_.failUpdate) return Fail("the entry cannot be written");
    owner_.log.push_back("update " + Id(type) + " " + Id(name) + " " + std::to_string(language) +
                         " " + data);
    return {};
  }
  Status UpdateFromFile(const build::EntryId& type, const build::EntryId& name, int language,
                        const std::string& source) override {
    if (++owner_.updates == owner_.failUpdate) return Fail("the entry cannot be written");
    owner_.log.push_back("file " + Id(type) + " " + Id(name) + " " + std::to_string(language) +
                         " " + source);
    return {};
  }
  Status Commit() override {
    if (++owner_.commits == owner_.failCommit) return Fail("the disk is full", ErrorKind::DiskFull);
    owner_.log.push_back("commit");
    return {};
  }

 private:
  FakeResourceUpdates& owner_;
};

}  // namespace

Result<std::unique_ptr<build::ResourceUpdate>> FakeResourceUpdates::Begin(const std::string& path) {
  if (++begins == failBegin) return Fail("not a Windows program");
  log.push_back("begin " + path);
  return std::unique_ptr<build::ResourceUpdate>(std::make_unique<FakeUpdate>(*this));
}

}  // namespace vexmar::testing
