#include "platform/resources/byte_io.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vexmar::resources {
namespace {

constexpr size_t kBlockSize = 64 * 1024;

template <typename T>
bool LoadLittleEndian(const uint8_t* data, size_t size, uint64_t offset, T& out) {
  if (offset > size || sizeof(T) > size - offset) {
    return false;
  }
  T value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) {
    value = static_cast<T>(value | (static_cast<T>(data[offset + i]) << (8 * i)));
  }
  out = value;
  return true;
}

}  // namespace

bool ByteView::U16(uint64_t offset, uint16_t& out) const {
  return LoadLittleEndian(data_, size_, offset, out);
}
bool ByteView::U32(uint64_t offset, uint32_t& out) const {
  return LoadLittleEndian(data_, size_, offset, out);
}

void StoreU16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void StoreU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    at[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

Result<std::vector<uint8_t>> ReadBytes(ByteSource& source, uint64_t offset, uint64_t length) {
  if (offset > source.size() || length > source.size() - offset) {
    return Fail("a read past the end of the file was refused");
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  if (auto status = source.Read(offset, bytes.data(), bytes.size()); !status) {
    return status.error();
  }
  return bytes;
}

Status MemorySource::Read(uint64_t offset, void* out, size_t length) {
  if (!view_.Contains(offset, length)) {
    return Fail("a read past the end of the file was refused");
  }
  if (length != 0) {
    std::memcpy(out, view_.data() + offset, length);
  }
  return {};
}

Result<std::unique_ptr<FileSource>> FileSource::Open(const std::filesystem::path& path) {
  // Only a file has bytes to read: opening a FIFO would wait for a writer
  // that never comes, and a device never ends.
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!error && !std::filesystem::is_regular_file(status)) {
    return Fail(path.u8string() + " is not a file");
  }
  std::unique_ptr<FileSource> source(new FileSource());
  source->stream_.open(path, std::ios::binary);
  if (!source->stream_) {
    return Fail("cannot open " + path.u8string() + " for reading");
  }
  source->stream_.seekg(0, std::ios::end);
  const std::streamoff end = source->stream_.tellg();
  if (end < 0) {
    return Fail("cannot find the size of " + path.u8string());
  }
  source->size_ = static_cast<uint64_t>(end);
  return source;
}

Status FileSource::Read(uint64_t offset, void* out, size_t length) {
  if (offset > size_ || length > size_ - offset) {
    return Fail("a read past the end of the file was refused");
  }
  // An empty entry reads into an empty buffer, whose data pointer may be null.
  if (length == 0) return {};
  auto* dst = static_cast<uint8_t*>(out);
  // Small reads go through the block cache; large ones straight to the file.
  if (length <= kBlockSize / 4) {
    if (offset < blockOffset_ || offset + length > blockOffset_ + blockLength_) {
      block_.resize(kBlockSize);
      blockOffset_ = offset;
      blockLength_ = static_cast<size_t>(std::min<uint64_t>(kBlockSize, size_ - offset));
      stream_.clear();
      stream_.seekg(static_cast<std::streamoff>(offset));
      stream_.read(reinterpret_cast<char*>(block_.data()),
                   static_cast<std::streamsize>(blockLength_));
      if (!stream_) {
        blockLength_ = 0;
        return Fail("reading the file failed");
      }
    }
    std::memcpy(dst, block_.data() + (offset - blockOffset_), length);
    return {};
  }
  stream_.clear();
  stream_.seekg(static_cast<std::streamoff>(offset));
  stream_.read(reinterpret_cast<char*>(dst), static_cast<std::streamsize>(length));
  if (!stream_) {
    return Fail("reading the file failed");
  }
  return {};
}

Status MemorySink::Write(const void* data, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + length);
  return {};
}

Status MemorySink::Overwrite(uint64_t offset, const void* data, size_t length) {
  if (offset > bytes_.size() || length > bytes_.size() - offset) {
    return Fail("an overwrite past the written end was refused");
  }
  std::memcpy(bytes_.data() + offset, data, length);
  return {};
}

}  // namespace vexmar::resources
