#pragma once
// The search entry's bytes as its writer puts them and its reader takes
// them: fixed little-endian fields in the header and block table, unsigned
// LEB128 varints everywhere else (docs/book-format.md has the whole
// layout). The reader's side never steps past the bytes it was given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexmar::book::search_layout {

inline constexpr std::string_view kMagic = "VXSEARCH";
inline constexpr std::uint32_t kVersion = 1;
// magic, version, pages, terms, then the offsets of the page table, the
// block table, the dictionary and the postings, and the entry's size.
inline constexpr std::size_t kHeaderSize = 40;
// Terms are front-coded in blocks this long: a lookup binary-searches the
// blocks' first terms and reads at most one block.
inline constexpr std::uint32_t kTermsPerBlock = 16;
inline constexpr std::size_t kBlockEntrySize = 8;

inline void PutU32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift));
}

inline void PutVarint(std::string& out, std::uint32_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

inline std::uint32_t GetU32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

// Reads forward through a span of the entry; the first read that would run
// past its end, or a varint longer than a 32-bit value allows, marks it
// failed and every later read returns zero.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::uint32_t Varint() {
    std::uint32_t value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
      if (at_ >= bytes_.size()) break;
      const auto byte = static_cast<unsigned char>(bytes_[at_++]);
      if (shift == 28 && byte > 0x0F) break;  // more than 32 bits
      value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
      if (byte < 0x80) return value;
    }
    failed_ = true;
    at_ = bytes_.size();
    return 0;
  }

  std::string_view Bytes(std::uint32_t count) {
    if (count > bytes_.size() - at_) {
      failed_ = true;
      at_ = bytes_.size();
      return {};
    }
    const std::string_view piece = bytes_.substr(at_, count);
    at_ += count;
    return piece;
  }

  void Fail() { failed_ = true; }
  bool ok() const { return !failed_; }
  bool atEnd() const { return at_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

}  // namespace vexmar::book::search_layout
