// The ANSI code page where there is no Windows to ask: Windows-1252, the code
// page of Western European Windows, which the sample projects are written in.
#include <array>

#include "platform/text/text.h"
#include "platform/text/utf.h"

namespace vexmar::text {
namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five bytes the code page leaves
// undefined (they map to the C1 control of the same number, as Windows does).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t FromByte(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80u] != 0) return kHigh[b - 0x80u];
  return b;
}

// The byte for a code point, or -1 when Windows-1252 has none.
int ToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == 0 && cp == 0x80 + i) return static_cast<int>(cp);
    if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<int>(0x80 + i);
  }
  return -1;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const int b = ToByte(utf::NextCodePoint(utf8, i));
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (const char c : ansi) utf::AppendUtf8(out, FromByte(static_cast<unsigned char>(c)));
  return out;
}

bool FitsAnsi(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    if (ToByte(utf::NextCodePoint(utf8, i)) < 0) return false;
  }
  return true;
}

}  // namespace vexmar::text
