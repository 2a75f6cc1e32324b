#include "viewer/utf8.h"

#include <cstdint>

namespace vexmar::viewer::utf8 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(uint8_t byte) {
  return (byte & 0xC0) == 0x80;
}

// Length, lowest code point and payload mask of a sequence by its lead byte.
struct Lead {
  size_t length;
  char32_t minimum;
  uint8_t mask;
};

bool ClassifyLead(uint8_t byte, Lead& lead) {
  if (byte < 0x80) {
    lead = {1, 0, 0x7F};
  } else if ((byte & 0xE0) == 0xC0) {
    lead = {2, 0x80, 0x1F};
  } else if ((byte & 0xF0) == 0xE0) {
    lead = {3, 0x800, 0x0F};
  } else if ((byte & 0xF8) == 0xF0) {
    lead = {4, 0x10000, 0x07};
  } else {
    return false;
  }
  return true;
}

}  // namespace

char32_t Next(std::string_view text, size_t& at) {
  const auto first = static_cast<uint8_t>(text[at]);
  Lead lead{};
  if (!ClassifyLead(first, lead) || at + lead.length > text.size()) {
    ++at;
    return kReplacement;
  }
  char32_t code_point = first & lead.mask;
  for (size_t i = 1; i < lead.length; ++i) {
    const auto byte = static_cast<uint8_t>(text[at + i]);
    if (!IsContinuation(byte)) {
      ++at;
      return kReplacement;
    }
    code_point = (code_point << 6) | (byte & 0x3Fu);
  }
  if (code_point < lead.minimum || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    ++at;
    return kReplacement;
  }
  at += lead.length;
  return code_point;
}

bool IsValid(std::string_view text) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t before = at;
    const char32_t code_point = Next(text, at);
    // A genuine U+FFFD is three bytes long; a replacement for a bad byte is one.
    if (code_point == kReplacement && at - before != 3) {
      return false;
    }
  }
  return true;
}

void Append(std::string& out, char32_t code_point) {
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

}  // namespace vexmar::viewer::utf8
