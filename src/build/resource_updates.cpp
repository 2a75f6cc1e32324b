#include "build/resource_updates.h"

#include <filesystem>
#include <vector>

#include "platform/resources/resource_update.h"

namespace vexmar::build {
namespace {

namespace res = resources;

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::u8path(utf8);
}

Result<res::ResourceId> IdOf(const EntryId& id) {
  auto made = id.number != 0 ? res::ResourceId::Number(static_cast<std::uint32_t>(id.number))
                             : res::ResourceId::FromUtf8(id.text);
  if (!made) return Fail(made.error().reason);
  return made.value();
}

class EngineUpdate final : public ResourceUpdate {
 public:
  explicit EngineUpdate(res::ResourceUpdate update) : update_(std::move(update)) {}

  Status Update(const EntryId& type, const EntryId& name, int language,
                const std::string& data) override {
    return Apply(type, name, [&](const res::ResourceId& t, const res::ResourceId& n) {
      return update_.Update(t, n, static_cast<std::uint16_t>(language),
                            std::vector<std::uint8_t>(data.begin(), data.end()));
    });
  }

  Status UpdateFromFile(const EntryId& type, const EntryId& name, int language,
                        const std::string& source, EntryWatcher watch) override {
    res::ByteWatcher bytes;
    if (watch) {
      bytes = [watch = std::move(watch)](const std::uint8_t* data, size_t length) {
        watch(std::string_view(reinterpret_cast<const char*>(data), length));
      };
    }
    return Apply(type, name, [&](const res::ResourceId& t, const res::ResourceId& n) {
      return update_.UpdateFromFile(t, n, static_cast<std::uint16_t>(language), PathOf(source), 0,
                                    std::move(bytes));
    });
  }

  Status UpdateLate(const EntryId& type, const EntryId& name, int language, size_t size,
                    LateEntry make) override {
    if (size != static_cast<std::uint32_t>(size)) {
      return Fail("an entry of " + std::to_string(size) + " bytes is larger than 4 GiB");
    }
    return Apply(type, name, [&](const res::ResourceId& t, const res::ResourceId& n) {
      return update_.UpdateLate(
          t, n, static_cast<std::uint16_t>(language), static_cast<std::uint32_t>(size),
          [make = std::move(make)]() -> res::Result<std::vector<std::uint8_t>> {
            const std::string bytes = make();
            return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
          });
    });
  }

  Status RemoveType(const EntryId& type) override {
    const auto t = IdOf(type);
    if (!t) return t.error();
    std::vector<res::EntryKey> doomed;
    for (const auto& [key, value] : update_.editor().entries()) {
      if (key.type == t.value()) doomed.push_back(key);
    }
    for (const res::EntryKey& key : doomed) {
      const res::Status removed = update_.Delete(key.type, key.name, key.language);
      if (!removed) return Fail(removed.error().reason);
    }
    return {};
  }

  Status Commit() override {
    auto report = update_.Commit();
    if (!report) return Fail(report.error().reason);
    return {};
  }

 private:
  template <typename Write>
  Status Apply(const EntryId& type, const EntryId& name, Write write) {
    const auto t = IdOf(type);
    if (!t) return t.error();
    const auto n = IdOf(name);
    if (!n) return n.error();
    const res::Status written = write(t.value(), n.value());
    if (!written) return Fail(written.error().reason);
    return {};
  }

  res::ResourceUpdate update_;
};

class EngineUpdates final : public ResourceUpdates {
 public:
  Result<std::unique_ptr<ResourceUpdate>> Begin(const std::string& path) override {
    auto update = res::ResourceUpdate::Begin(PathOf(path));
    if (!update) return Fail(update.error().reason);
    return std::unique_ptr<ResourceUpdate>(
        std::make_unique<EngineUpdate>(std::move(update).value()));
  }
};

}  // namespace

ResourceUpdates& EngineResourceUpdates() {
  static EngineUpdates instance;
  return instance;
}

}  // namespace vexmar::build
