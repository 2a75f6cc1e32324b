#include "build/toc_block.h"

#include "platform/text/text.h"

namespace vexmar::build {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

TocForm TocFormFor(std::string_view indexPagePath) {
  const std::string lower = text::ToLower(indexPagePath);
  return EndsWith(lower, ".html") || EndsWith(lower, ".htm") ? TocForm::Html : TocForm::Plain;
}

std::string TocLabel(std::string_view entry) {
  const auto separator = entry.find_last_of("\\/");
  if (separator != std::string_view::npos) entry.remove_prefix(separator + 1);
  return std::string(entry.substr(0, entry.find('.')));
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string TocBlock(TocForm form, const std::vector<std::string>& entries) {
  std::string block;
  if (form == TocForm::Html) {
    block += "<h2 align='left'>Table of Contents</h2>";
    block += kLineEnd;
    for (const std::string& entry : entries) {
      block += "<A HREF='" + EscapeHtml(entry) + "'>" + EscapeHtml(TocLabel(entry)) + "</A><BR>";
      block += kLineEnd;
    }
  } else {
    block += "Table of Contents";
    block += kLineEnd;
    block += kLineEnd;
    for (const std::string& entry : entries) {
      block += TocLabel(entry);
      block += kLineEnd;
    }
  }
  return block;
}

}  // namespace vexmar::build
