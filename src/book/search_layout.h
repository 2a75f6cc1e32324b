#pragma once
// The search entry's bytes as its writer puts them and its reader takes
// them: fixed little-endian fields in the header and block table, unsigned
// LEB128 varints in the page table and the dictionary, and Rice codes in
// the postings, which are most of the entry (docs/book-format.md has the
// whole layout). The reader's side never steps past the bytes it was given.
#include <algorithm>
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

// Postings are Rice codes: a value v with parameter k is v >> k in unary
// (that many 1 bits, then a 0) and then v's low k bits. The parameter comes
// from the mean the value is expected to have (pages over pages that hold
// the term; a page's tokens over the term's count there), which both sides
// know, so it is never stored. A quotient of kRiceEscape or more is written
// as kRiceEscape 1 bits and the value in 32 bits, so no value costs more.
// Bits fill each byte from its lowest bit up.
inline constexpr std::uint32_t kRiceEscape = 24;

inline std::uint32_t RiceParameter(std::uint64_t total, std::uint64_t count) {
  std::uint64_t mean = count == 0 ? 1 : total / count;
  std::uint32_t k = 0;
  while (mean >= 2 && k < 31) {
    mean >>= 1;
    ++k;
  }
  return k;
}

// A growing run of bits; `pending` holds the bits of the byte not yet full.
struct BitBuffer {
  std::string bytes;
  std::uint8_t pending = 0;
  std::uint8_t pendingBits = 0;

  void Put(std::uint32_t value, std::uint32_t bits) {
    std::uint64_t all = pending | (std::uint64_t{value} & ((std::uint64_t{1} << bits) - 1))
                                      << pendingBits;
    std::uint32_t count = pendingBits + bits;
    for (; count >= 8; count -= 8, all >>= 8) bytes.push_back(static_cast<char>(all & 0xFF));
    pending = static_cast<std::uint8_t>(all);
    pendingBits = static_cast<std::uint8_t>(count);
  }
  void PutRice(std::uint32_t value, std::uint32_t k) {
    const std::uint32_t quotient = value >> k;
    if (quotient >= kRiceEscape) {
      Put((1u << kRiceEscape) - 1, kRiceEscape);
      Put(value, 32);
      return;
    }
    Put((1u << quotient) - 1, quotient + 1);  // quotient 1 bits, then a 0
    Put(value, k);
  }
  // The last byte, its unused bits 0.
  void Flush() {
    if (pendingBits > 0) bytes.push_back(static_cast<char>(pending));
    pending = 0;
    pendingBits = 0;
  }
};

// Reads Rice codes; like ByteReader, the first read past the end fails it.
class BitReader {
 public:
  explicit BitReader(std::string_view bytes)
      : bytes_(bytes), bits_(std::uint64_t{bytes.size()} * 8) {}

  std::uint32_t Rice(std::uint32_t k) {
    const std::uint64_t window = Window();
    const std::uint64_t zeros = ~window | std::uint64_t{1} << kRiceEscape;  // stops at the escape
    const auto quotient = static_cast<std::uint32_t>(__builtin_ctzll(zeros));
    if (quotient == kRiceEscape) {
      Skip(kRiceEscape);
      return Bits(32);
    }
    Skip(quotient + 1);
    return quotient << k | Bits(k);
  }
  std::uint32_t Bits(std::uint32_t count) {
    if (count == 0) return 0;
    const std::uint64_t window = Window();
    Skip(count);
    if (failed_) return 0;
    return static_cast<std::uint32_t>(window & ((std::uint64_t{1} << count) - 1));
  }
  bool ok() const { return !failed_; }
  // All read but the padding of the last byte, which is 0.
  bool atEnd() const { return !failed_ && (at_ + 7) / 8 == bytes_.size() && Window() == 0; }

 private:
  // The next 57 bits at least, 0 past the end.
  std::uint64_t Window() const {
    std::uint64_t window = 0;
    const auto first = static_cast<std::size_t>(at_ / 8);  // at most the size
    const std::size_t available =
        std::min<std::size_t>(8, bytes_.size() - std::min(first, bytes_.size()));
    for (std::size_t i = 0; i < available; ++i) {
      window |= std::uint64_t{static_cast<unsigned char>(bytes_[first + i])} << (8 * i);
    }
    return window >> (at_ % 8);
  }
  void Skip(std::uint32_t count) {
    if (count > bits_ - at_) {
      failed_ = true;
      at_ = bits_;
    } else {
      at_ += count;
    }
  }
  std::string_view bytes_;
  std::uint64_t bits_;
  std::uint64_t at_ = 0;
  bool failed_ = false;
};

}  // namespace vexmar::book::search_layout
