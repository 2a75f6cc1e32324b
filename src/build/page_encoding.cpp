#include "build/page_encoding.h"

#include "platform/text/text.h"

namespace vexmar::build {
namespace {

std::string AnsiWithReferences(std::string_view utf8) {
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t start = at;
    const char32_t code = utf::NextCodePoint(utf8, at);
    const std::string_view character = utf8.substr(start, at - start);
    if (text::FitsAnsi(character)) {
      out += text::Utf8ToAnsi(character);
    } else {
      out += "&#" + std::to_string(static_cast<unsigned long>(code)) + ";";
    }
  }
  return out;
}

}  // namespace

std::string EncodeForPage(std::string_view utf8, PageEncoding encoding, bool webPage) {
  switch (encoding) {
    case PageEncoding::Ansi:
      return webPage ? AnsiWithReferences(utf8) : text::Utf8ToAnsi(utf8);
    case PageEncoding::Utf8:
      return utf::Transcode<std::string>(utf8, utf::AppendUtf8);
    case PageEncoding::Utf16Le:
    case PageEncoding::Utf16Be:
      break;
  }
  const bool little = encoding == PageEncoding::Utf16Le;
  std::string out;
  for (const char16_t unit : text::Utf8ToUtf16(utf8)) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    out += little ? low : high;
    out += little ? high : low;
  }
  return out;
}

}  // namespace vexmar::build
