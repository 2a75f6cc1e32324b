#pragma once
// Resource updates that record what the build writes, and fail where a test
// says so.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "build/resource_updates.h"

namespace vexmar::testing {

class FakeResourceUpdates final : public build::ResourceUpdates {
 public:
  // One line per call: "begin PATH", "update TYPE NAME LANGUAGE DATA",
  // "file TYPE NAME LANGUAGE SOURCE", "commit"; an entry made late is logged
  // as an update when the commit makes it.
  std::vector<std::string> log;
  // What a commit streams its file entries from, by path; none: nothing.
  const std::map<std::string, std::string>* sources = nullptr;
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
                          const std::string& source, build::EntryWatcher watch) override {
      if (watch) watched_.emplace_back(source, std::move(watch));
      return Log("file", type, name, language, source);
    }
    Status UpdateLate(const build::EntryId& type, const build::EntryId& name, int language,
                      size_t size, build::LateEntry make) override {
      late_.push_back({type, name, language, size, std::move(make)});
      return {};
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
      for (const auto& [source, watch] : watched_) {
        if (!owner_.sources) break;
        const auto file = owner_.sources->find(source);
        if (file != owner_.sources->end()) watch(file->second);
      }
      for (const Late& late : late_) {
        const std::string bytes = late.make();
        if (bytes.size() != late.size) return Fail("a late entry of another size");
        if (Status logged = Log("update", late.type, late.name, late.language, bytes); !logged) {
          return logged;
        }
      }
      owner_.log.push_back("commit");
      return {};
    }

   private:
    struct Late {
      build::EntryId type, name;
      int language;
      size_t size;
      build::LateEntry make;
    };

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
    std::vector<std::pair<std::string, build::EntryWatcher>> watched_;
    std::vector<Late> late_;
  };
};

}  // namespace vexmar::testing
