#pragma once
// The PE CheckSum, computed while the file is written: the file summed as
// little-endian 16-bit words with the carry folded back in, the CheckSum
// field itself counted as zero, plus the file length.
#include <cstddef>
#include <cstdint>

namespace vexmar::resources {

class PeChecksum {
 public:
  // Bytes in file order; the CheckSum field must be passed as zeros.
  void Add(const uint8_t* data, size_t length);
  // Bytes written at `offset` over zeros that Add has already counted.
  void AddInPlaceOfZeros(uint64_t offset, const uint8_t* data, size_t length);
  uint32_t Finish() const;

 private:
  void AddWords(uint64_t offset, const uint8_t* data, size_t length);

  uint64_t sum_ = 0;
  uint64_t length_ = 0;
};

}  // namespace vexmar::resources
