#include "viewer/text_direction.h"

#include "platform/text/utf.h"

namespace vexmar::viewer {
namespace {

bool IsRightToLeft(char32_t c) {
  return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
         (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x10800 && c <= 0x10FFF) ||
         (c >= 0x1E800 && c <= 0x1EFFF);
}

// Letters of left-to-right scripts; digits, punctuation, symbols, marks
// and emoji are neutral and decide nothing.
bool IsLeftToRight(char32_t c) {
  if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
  if (c >= 0x0300 && c <= 0x036F) return false;    // combining marks
  if (c >= 0x2000 && c <= 0x2BFF) return false;    // punctuation, symbols, arrows
  if (c >= 0x3000 && c <= 0x303F) return false;    // CJK punctuation
  if (c >= 0xFE00 && c <= 0xFE0F) return false;    // variation selectors
  if (c >= 0xFF00 && c <= 0xFF20) return false;    // full-width punctuation and digits
  if (c >= 0x1F000 && c <= 0x1FAFF) return false;  // emoji and pictographs
  return !IsRightToLeft(c);
}

}  // namespace

bool ReadsRightToLeft(std::string_view utf8) {
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t c = utf::NextCodePoint(utf8, at);
    if (IsRightToLeft(c)) return true;
    if (IsLeftToRight(c)) return false;
  }
  return false;
}

}  // namespace vexmar::viewer
