#include "book/page_layout.h"

#include <optional>

#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// How far into a page browsers look for a charset declaration.
constexpr std::size_t kDeclarationWindow = 1024;

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The labels browsers take for UTF-8 in a page that declares its charset;
// UTF-16 ones too, since a page whose markup could be read is not UTF-16.
bool MeansUtf8(std::string_view label) {
  for (const char* utf8 : {"utf-8", "utf8", "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8",
                           "x-unicode20utf8", "utf-16", "utf-16le", "utf-16be"}) {
    if (label == utf8) return true;
  }
  return false;
}

// The charset named by the first <meta> tag that names one.
std::optional<std::string> DeclaredCharset(std::string_view page) {
  const std::string head = AsciiLower(page.substr(0, kDeclarationWindow));
  for (auto at = head.find("<meta"); at != std::string::npos; at = head.find("<meta", at + 1)) {
    const std::string_view tag = std::string_view(head).substr(at, head.find('>', at) - at);
    auto i = tag.find("charset");
    if (i == std::string_view::npos) continue;
    i += 7;
    while (i < tag.size() && IsSpace(tag[i])) ++i;
    if (i == tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && (IsSpace(tag[i]) || tag[i] == '"' || tag[i] == '\'')) ++i;
    const auto end = tag.find_first_of(" \t\r\n\f\"';/", i);
    return std::string(tag.substr(i, end == std::string_view::npos ? end : end - i));
  }
  return std::nullopt;
}

bool StartsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

}  // namespace

PageLayout PageLayoutOf(std::string_view page, bool webPage) {
  if (StartsWith(page, kUtf8Mark)) return {PageEncoding::Utf8, kUtf8Mark.size()};
  if (StartsWith(page, "\xFF\xFE")) return {PageEncoding::Utf16Le, 2};
  if (StartsWith(page, "\xFE\xFF")) return {PageEncoding::Utf16Be, 2};
  if (webPage) {
    const std::optional<std::string> charset = DeclaredCharset(page);
    if (charset && MeansUtf8(*charset)) return {PageEncoding::Utf8, 0};
  }
  return {PageEncoding::Ansi, 0};
}

std::string Utf16PageText(std::string_view bytes, PageEncoding encoding) {
  const bool little = encoding == PageEncoding::Utf16Le;
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    units += static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second);
  }
  return utf::Utf16ToUtf8(units);
}

}  // namespace vexmar::book
