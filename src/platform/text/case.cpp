#include "platform/text/text.h"
#include "platform/text/utf.h"

namespace vexmar::text {
namespace {

// Case pairs for the scripts that Windows' ANSI code pages hold: Latin-1,
// Latin Extended-A, Greek and Cyrillic. The same table on every platform, so
// an e-book built on Linux names its entries exactly as one built on Windows.
char32_t Upper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0x80) return c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A alternates upper/lower, with the pairs shifted by one
    // between U+0139 and U+0148 and from U+0179 on; U+0131 (dotless i),
    // U+0138 (kra), U+0149 and U+017F have no simple upper case here.
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    const bool shifted = (c >= 0x139 && c <= 0x148) || c >= 0x179;
    const bool lower = shifted ? (c % 2 == 0) : (c % 2 == 1);
    return lower ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x3AC && c <= 0x3AF) {
    static constexpr char32_t kTonos[] = {0x386, 0x388, 0x389, 0x38A};
    return kTonos[c - 0x3AC];
  }
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

char32_t Lower(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c < 0x80) return c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    const bool shifted = (c >= 0x139 && c <= 0x148) || c >= 0x179;
    const bool upper = shifted ? (c % 2 == 1) : (c % 2 == 0);
    return upper ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

template <typename Map>
std::string MapCase(std::string_view utf8, Map map) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    utf::AppendUtf8(out, map(utf::NextCodePoint(utf8, i)));
  }
  return out;
}

}  // namespace

std::string ToUpper(std::string_view utf8) {
  return MapCase(utf8, Upper);
}
std::string ToLower(std::string_view utf8) {
  return MapCase(utf8, Lower);
}

}  // namespace vexmar::text
