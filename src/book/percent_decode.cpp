#include "book/percent_decode.h"

#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::string> PercentDecode(std::string_view text, AnsiDecoder decode) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::string bytes;
    while (at + 2 < text.size() && text[at] == '%' && HexValue(text[at + 1]) >= 0 &&
           HexValue(text[at + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(text[at + 1]) * 16 + HexValue(text[at + 2]));
      at += 3;
    }
    if (bytes.empty()) {
      out += text[at++];
      continue;
    }
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    out += utf::IsValidUtf8(bytes) ? bytes : decode(bytes);
  }
  return out;
}

}  // namespace vexmar::book
