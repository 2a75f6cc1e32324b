#pragma once
// The program's one UTF-8 and UTF-16 codec. Header-only and free of any
// library, so the viewer stub uses the very same code as the compiler
// without linking the core: a name the compiler stored decodes in the book
// exactly as it was encoded.
#include <cstddef>
#include <string>
#include <string_view>

namespace vexmar::utf {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at `at` and advances past it. A byte that does not
// start a well-formed sequence (an overlong form, a surrogate, a value above
// U+10FFFF, a sequence cut short) gives U+FFFD and advances by that byte
// only, so the rest of the text decodes as it would on its own. Kept out of
// line: inlined into each loop that walks a text it would grow the viewer
// stub, and so every book, several times over.
[[gnu::noinline]] inline char32_t NextCodePoint(std::string_view utf8, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(utf8[at]);
  std::size_t extra = 0;
  char32_t code_point = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code_point = lead & 0x1Fu, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code_point = lead & 0x0Fu, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code_point = lead & 0x07u, minimum = 0x10000;
  } else {
    ++at;
    return kReplacement;
  }
  if (extra >= utf8.size() - at) {
    ++at;
    return kReplacement;
  }
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(utf8[at + k]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return kReplacement;
    }
    code_point = (code_point << 6) | (next & 0x3Fu);
  }
  if (code_point < minimum || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    ++at;
    return kReplacement;
  }
  at += extra + 1;
  return code_point;
}

// Decodes a surrogate pair as one code point; a lone surrogate gives U+FFFD.
inline char32_t NextCodePoint(std::u16string_view utf16, std::size_t& at) {
  const char32_t unit = utf16[at++];
  if (unit < 0xD800 || unit > 0xDFFF) {
    return unit;
  }
  if (unit <= 0xDBFF && at < utf16.size() && utf16[at] >= 0xDC00 && utf16[at] <= 0xDFFF) {
    return 0x10000 + ((unit - 0xD800) << 10) + (utf16[at++] - 0xDC00u);
  }
  return kReplacement;
}

inline void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

inline void AppendUtf16(std::u16string& out, char32_t code_point) {
  if (code_point < 0x10000) {
    out += static_cast<char16_t>(code_point);
    return;
  }
  const char32_t offset = code_point - 0x10000;
  out += static_cast<char16_t>(0xD800 + (offset >> 10));
  out += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
}

// Strict: true only when nothing would decode as a replacement. A U+FFFD
// that the text really holds is three bytes long; one for a bad byte is one.
inline bool IsValidUtf8(std::string_view utf8) {
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t start = at;
    if (NextCodePoint(utf8, at) == kReplacement && at - start != 3) {
      return false;
    }
  }
  return true;
}

// Malformed input becomes U+FFFD rather than failing: texts come from the
// author's files and from books, and must always be shown somehow.
template <typename Out, typename In>
Out Transcode(In text, void (*append)(Out&, char32_t)) {
  Out out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    append(out, NextCodePoint(text, at));
  }
  return out;
}

inline std::u16string Utf8ToUtf16(std::string_view utf8) {
  return Transcode<std::u16string>(utf8, AppendUtf16);
}

inline std::string Utf16ToUtf8(std::u16string_view utf16) {
  return Transcode<std::string>(utf16, AppendUtf8);
}

}  // namespace vexmar::utf
