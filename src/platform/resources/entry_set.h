#pragma once
// The entries an update will write: every key (type, name, language) with
// the place its bytes come from. Bytes are never loaded before the commit
// unless the caller handed them over already; existing entries stay a
// reference into the input file and source files are read while writing.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "platform/resources/resource_id.h"
#include "platform/resources/result.h"

namespace vexmar::resources {

class EntryData {
 public:
  enum class Kind { kInputRegion, kBytes, kFile };

  static EntryData Bytes(std::vector<uint8_t> bytes);
  // A whole source file. Its size is taken now and checked again when the
  // update is committed, so a file that changes in between is an error
  // rather than a silently wrong entry.
  static Result<EntryData> File(const std::filesystem::path& path);
  static EntryData InputRegion(uint64_t offset, uint32_t size);

  Kind kind() const { return kind_; }
  uint64_t size() const { return size_; }
  uint64_t offset() const { return offset_; }
  const std::vector<uint8_t>& bytes() const { return *bytes_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  Kind kind_ = Kind::kBytes;
  uint64_t offset_ = 0;
  uint64_t size_ = 0;
  std::shared_ptr<const std::vector<uint8_t>> bytes_;
  std::filesystem::path path_;
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
