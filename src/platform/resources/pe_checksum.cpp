#include "platform/resources/pe_checksum.h"

#include <cstring>

namespace vexmar::resources {

void PeChecksum::Add(const uint8_t* data, size_t length) {
  AddWords(length_, data, length);
  length_ += length;
}

void PeChecksum::AddInPlaceOfZeros(uint64_t offset, const uint8_t* data, size_t length) {
  AddWords(offset, data, length);
}

// The bytes' share of the sum, the first one at `offset` in the file: a byte
// at an odd offset is the high half of its word.
void PeChecksum::AddWords(uint64_t offset, const uint8_t* data, size_t length) {
  size_t i = 0;
  if (offset % 2 == 1 && length > 0) {
    sum_ += uint64_t{data[0]} << 8;
    i = 1;
  }
  // 32-bit words at a time: since 2^16 = 1 modulo 0xFFFF, a 32-bit word
  // adds the same as its two 16-bit halves, and a 64-bit total folds to the
  // same end-around-carry sum as folding after every 16-bit word. A file
  // below 4 GiB cannot overflow the total.
  for (; i + 8 <= length; i += 8) {
    uint32_t low = 0;
    uint32_t high = 0;
    std::memcpy(&low, data + i, 4);
    std::memcpy(&high, data + i + 4, 4);
    if constexpr (__BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__) {
      low = __builtin_bswap32(low);
      high = __builtin_bswap32(high);
    }
    sum_ += uint64_t{low} + high;
  }
  for (; i + 1 < length; i += 2) {
    sum_ += data[i] | (uint64_t{data[i + 1]} << 8);
  }
  if (i < length) {
    sum_ += data[i];
  }
}

uint32_t PeChecksum::Finish() const {
  uint64_t sum = sum_;
  while (sum > 0xFFFF) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<uint32_t>(sum + length_);
}

}  // namespace vexmar::resources
