#pragma once
// Bounded byte access for the resource engine. The reader only ever sees a
// ByteSource, which refuses any read that does not lie wholly inside it, and
// the writer only ever sees a ByteSink, so the same code runs on files and on
// memory (tests and the fuzzer).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/resources/result.h"

namespace vexmar::resources {

// Little-endian loads from a buffer, checked against its length with 64-bit
// arithmetic so that offset + width cannot wrap.
class ByteView {
 public:
  ByteView() = default;
  ByteView(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit ByteView(const std::vector<uint8_t>& bytes) : data_(bytes.data()), size_(bytes.size()) {}

  size_t size() const { return size_; }
  const uint8_t* data() const { return data_; }
  [[nodiscard]] bool Contains(uint64_t offset, uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  // False, leaving `out` alone, when the value does not lie wholly inside
  // the buffer: the caller must then stop, not go on with a stale value.
  [[nodiscard]] bool U16(uint64_t offset, uint16_t& out) const;
  [[nodiscard]] bool U32(uint64_t offset, uint32_t& out) const;

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

void StoreU16(uint8_t* at, uint16_t value);
void StoreU32(uint8_t* at, uint32_t value);

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t size() const = 0;
  // Reads exactly `length` bytes; fails, reading nothing, when the range is
  // not inside the source.
  virtual Status Read(uint64_t offset, void* out, size_t length) = 0;
};

Result<std::vector<uint8_t>> ReadBytes(ByteSource& source, uint64_t offset, uint64_t length);

class MemorySource final : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : view_(data, size) {}
  explicit MemorySource(const std::vector<uint8_t>& bytes) : view_(bytes) {}
  uint64_t size() const override { return view_.size(); }
  Status Read(uint64_t offset, void* out, size_t length) override;

 private:
  ByteView view_;
};

// A file read through a small block cache: the tree of a resource section is
// parsed with many reads of 8 or 16 bytes that mostly fall into one block.
class FileSource final : public ByteSource {
 public:
  static Result<std::unique_ptr<FileSource>> Open(const std::filesystem::path& path);
  uint64_t size() const override { return size_; }
  Status Read(uint64_t offset, void* out, size_t length) override;

 private:
  FileSource() = default;
  std::ifstream stream_;
  uint64_t size_ = 0;
  std::vector<uint8_t> block_;
  uint64_t blockOffset_ = 0;
  size_t blockLength_ = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual Status Write(const void* data, size_t length) = 0;
  // Overwrites bytes already written; used for the checksum, which is known
  // only once everything else has been written.
  virtual Status Overwrite(uint64_t offset, const void* data, size_t length) = 0;
};

class MemorySink final : public ByteSink {
 public:
  Status Write(const void* data, size_t length) override;
  Status Overwrite(uint64_t offset, const void* data, size_t length) override;
  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace vexmar::resources
