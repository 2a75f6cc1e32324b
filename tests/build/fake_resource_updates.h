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
  std::string commitFailsOn;  // the source file a failing commit could not read, if any
  int begins = 0, updates = 0, commits = 0;

  Result<std::unique_ptr<build::ResourceUpdate>> Begin(const std::string& path) override {
    if (++begins == failBegin) return Fail("not a Windows program");
    log.push_back("begin " + path);
    return std::unique_ptr<build::ResourceUpdate>(std::make_unique<Recorder>(*this));
  }

 private:
  class Recorder final : public build::ResourceUpdate {
   public:
    explicit Recorder(FakeResourceUpdates& owner) : owner_(owner) {}
    Status Update(const build::EntryId& type, const build::EntryId& name, int language,
                  const std::string& data) override {
      return Log("update", type, name, language, data);
    }
    Status UpdateFromFile(const build::EntryId& type, const build::EntryId& name, int language,
                          const std::string& source) override {
      return Log("file", type, name, language, source);
    }
    Status RemoveType(const build::EntryId& type) override {
      owner_.log.push_back("remove " + std::to_string(type.number) + type.text);
      return {};
    }
    Status Commit() override {
      if (++owner_.commits == owner_.failCommit) {
        if (owner_.commitFailsOn.empty()) return Fail("the disk is full", ErrorKind::DiskFull);
        Error error = Fail("locked by another program", ErrorKind::InUse);
        error.file = owner_.commitFailsOn;
        return error;
      }
      owner_.log.push_back("commit");
      return {};
    }

   private:
    Status Log(const char* call, const build::EntryId& type, const build::EntryId& name,
               int language, const std::string& what) {
      if (++owner_.updates == owner_.failUpdate) return Fail("the entry cannot be written");
      const auto id = [](const build::EntryId& e) {
        return e.number != 0 ? std::to_string(e.number) : e.text;
      };
      owner_.log.push_back(std::string(call) + " " + id(type) + " " + id(name) + " " +
                           std::to_string(language) + " " + what);
      return {};
    }
    FakeResourceUpdates& owner_;
  };
};

}  // namespace vexmar::testing
