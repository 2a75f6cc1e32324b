#pragma once
// The entries an update will write: every key (type, name, language) with
// the place its bytes come from. Bytes are never loaded before the commit
// unless the caller handed them over already; existing entries stay a
// reference into the input file, source files are read while writing, and
// late entries are made once everything else is written.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/resources/resource_id.h"
#include "platform/resources/result.h"

namespace vexmar::resources {

// Sees a source file's bytes as the commit writes them, piece by piece in
// order: what it sees is exactly what went into the output.
using ByteWatcher = std::function<void(const uint8_t* data, size_t length)>;
// Makes an entry's bytes during the commit, once every other entry has been
// written, so they may depend on what was written.
using LateBytes = std::function<Result<std::vector<uint8_t>>()>;

class EntryData {
 public:
  enum class Kind { kInputRegion, kBytes, kFile, kLate };

  static EntryData Bytes(std::vector<uint8_t> bytes);
  // A whole source file. Its size is taken now and checked again when the
  // update is committed, so a file that changes in between is an error
  // rather than a silently wrong entry. `watch`, if any, sees its bytes.
  static Result<EntryData> File(const std::filesystem::path& path, ByteWatcher watch = {});
  static EntryData InputRegion(uint64_t offset, uint32_t size);
  // `size` bytes that `make` returns at the end of the commit; the entry's
  // place is laid out (and filled) beforehand, so the size must be known now.
  static EntryData Late(uint32_t size, LateBytes make);

  Kind kind() const { return kind_; }
  uint64_t size() const { return size_; }
  uint64_t offset() const { return offset_; }
  const std::vector<uint8_t>& bytes() const { return *bytes_; }
  const std::filesystem::path& path() const { return path_; }
  const ByteWatcher& watcher() const { return watch_; }
  const LateBytes& maker() const { return make_; }

 private:
  Kind kind_ = Kind::kBytes;
  uint64_t offset_ = 0;
  uint64_t size_ = 0;
  std::shared_ptr<const std::vector<uint8_t>> bytes_;
  std::filesystem::path path_;
  ByteWatcher watch_;
  LateBytes make_;
};

struct EntryKey {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0;

  // Exactly the order of the three directory levels.
  friend bool operator<(const EntryKey& a, const EntryKey& b) {
    if (a.type != b.type) return a.type < b.type;
    if (a.name != b.name) return a.name < b.name;
    return a.language < b.language;
  }
};

struct EntryValue {
  uint32_t codePage = 0;
  EntryData data;
};

using EntrySet = std::map<EntryKey, EntryValue>;

}  // namespace vexmar::resources
