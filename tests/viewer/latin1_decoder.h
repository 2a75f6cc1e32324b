#pragma once
// A stand-in for the ANSI code page in portable tests: every byte is the
// Latin-1 character of the same number, as Windows-1252 is for letters.
#include <string>
#include <string_view>

namespace vexmar::viewer::testing {

inline std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(byte >= 0x80 ? 0x80 | (byte & 0x3F) : byte);
  }
  return out;
}

}  // namespace vexmar::viewer::testing
