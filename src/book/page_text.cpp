// Placeholder until the page reader lands: tags dropped, nothing decoded.
#include "book/page_text.h"

namespace vexmar::book {
namespace {

std::string Between(std::string_view page, std::string_view open, std::string_view close) {
  const auto start = page.find(open);
  if (start == std::string_view::npos) return {};
  const auto from = page.find('>', start);
  const auto end = page.find(close, from);
  if (from == std::string_view::npos || end == std::string_view::npos) return {};
  return std::string(page.substr(from + 1, end - from - 1));
}

}  // namespace

PageText ReadPageText(std::string_view bytes, bool webPage, AnsiDecoder ansi) {
  PageText page;
  if (!webPage) {
    page.text = ansi ? ansi(bytes) : std::string(bytes);
    return page;
  }
  page.title = Between(bytes, "<title", "</title>");
  page.heading = Between(bytes, "<h1", "</h1>");
  bool inTag = false;
  for (const char c : bytes) {
    if (c == '<') inTag = true;
    if (!inTag) page.text += c;
    if (c == '>') {
      inTag = false;
      page.text += ' ';
    }
  }
  return page;
}

}  // namespace vexmar::book
