#include "platform/resources/pe_checksum.h"

namespace vexmar::resources {

void PeChecksum::Add(const uint8_t* data, size_t length) {
  size_t i = 0;
  if (length_ % 2 == 1 && length > 0) {
    sum_ += uint64_t{data[0]} << 8;
    i = 1;
  }
  // 64-bit accumulation folds to the same value as folding after every
  // word: both are the end-around-carry sum.
  for (; i + 1 < length; i += 2) {
    sum_ += data[i] | (uint64_t{data[i + 1]} << 8);
  }
  if (i < length) {
    sum_ += data[i];
  }
  length_ += length;
}

uint32_t PeChecksum::Finish() const {
  uint64_t sum = sum_;
  while (sum > 0xFFFF) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<uint32_t>(sum + length_);
}

}  // namespace vexmar::resources
