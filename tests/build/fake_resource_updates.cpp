#include "build/fake_resource_updates.h"

namespace vexmar::testing {
namespace {

class FakeUpdate final : public build::ResourceUpdate {
 public:
  explicit FakeUpdate(FakeResourceUpdates& owner) : owner_(owner) {}
  Status Update(const build::EntryId& type, const build::EntryId& name, int language,
                const std::string& data) override {
    return Log("update", type, name, language, data);
  }
  Status UpdateFromFile(const build::EntryId& type, const build::EntryId& name, int language,
                        const std::string& source) override {
    return Log("file", type, name, language, source);
  }
  Status Commit() override {
    if (++owner_.commits == owner_.failCommit) return Fail("the disk is full", ErrorKind::DiskFull);
    owner_.log.push_back("commit");
    return {};
  }

 private:
  static std::string Id(const build::EntryId& id) {
    return id.number != 0 ? std::to_string(id.number) : id.text;
  }
  Status Log(const char* call, const build::EntryId& type, const build::EntryId& name, int language,
             const std::string& what) {
    if (++owner_.updates == owner_.failUpdate) return Fail("the entry cannot be written");
    owner_.log.push_back(std::string(call) + " " + Id(type) + " " + Id(name) + " " +
                         std::to_string(language) + " " + what);
    return {};
  }
  FakeResourceUpdates& owner_;
};

}  // namespace

Result<std::unique_ptr<build::ResourceUpdate>> FakeResourceUpdates::Begin(const std::string& path) {
  if (++begins == failBegin) return Fail("not a Windows program");
  log.push_back("begin " + path);
  return std::unique_ptr<build::ResourceUpdate>(std::make_unique<FakeUpdate>(*this));
}

}  // namespace vexmar::testing
