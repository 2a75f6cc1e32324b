#pragma once
// SHA-256 (FIPS 180-4), fed piece by piece: the compiler hashes the entries
// it writes, the viewer and vexmar-ebc inspect the entries they read, all
// with this one implementation.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexmar::book {

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, size_t size);
  void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
  // The digest of everything fed so far; the hasher is then spent.
  Sha256Digest Finish();

 private:
  void Compress(const uint8_t* block);

  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> block_{};
  size_t blockUsed_ = 0;
  uint64_t totalBytes_ = 0;
};

Sha256Digest Sha256Of(std::string_view bytes);

// Lowercase hexadecimal, 64 characters.
std::string ToHex(const Sha256Digest& digest);

}  // namespace vexmar::book
