#include "platform/resources/entry_set.h"

#include <system_error>

namespace vexmar::resources {

EntryData EntryData::Bytes(std::vector<uint8_t> bytes) {
  EntryData data;
  data.kind_ = Kind::kBytes;
  data.size_ = bytes.size();
  data.bytes_ = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
  return data;
}

Result<EntryData> EntryData::File(const std::filesystem::path& path, ByteWatcher watch) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) {
    return Fail("cannot read " + path.u8string() + ": " + error.message());
  }
  EntryData data;
  data.kind_ = Kind::kFile;
  data.size_ = size;
  data.path_ = path;
  data.watch_ = std::move(watch);
  return data;
}

EntryData EntryData::InputRegion(uint64_t offset, uint32_t size) {
  EntryData data;
  data.kind_ = Kind::kInputRegion;
  data.offset_ = offset;
  data.size_ = size;
  return data;
}

EntryData EntryData::Late(uint32_t size, LateBytes make) {
  EntryData data;
  data.kind_ = Kind::kLate;
  data.size_ = size;
  data.make_ = std::move(make);
  return data;
}

}  // namespace vexmar::resources
