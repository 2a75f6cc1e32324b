#include "build/toc_block.h"

#include <optional>
#include <set>

#include "book/page_kind.h"
#include "book/toc_label.h"
#include "platform/text/text.h"

namespace vexmar::build {
namespace {

using book::TocLabel;

constexpr std::string_view kLineEnd = "\r\n";

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

TocForm TocFormFor(std::string_view indexPagePath) {
  return book::IsWebPageName(indexPagePath) ? TocForm::Html : TocForm::Plain;
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

namespace {

// One line ended by CR LF at `at`, without its line end; nullopt when the
// page ends before one does.
std::optional<std::string_view> LineAt(std::string_view page, size_t at) {
  const size_t end = page.find(kLineEnd, at);
  if (end == std::string_view::npos) return std::nullopt;
  return page.substr(at, end - at);
}

// A link line exactly as TocBlock writes it: the escaped entry holds no
// quote and the escaped label no "<".
bool IsLinkLine(std::string_view line) {
  constexpr std::string_view kOpen = "<A HREF='", kClose = "</A><BR>";
  if (line.substr(0, kOpen.size()) != kOpen || !EndsWith(line, kClose)) return false;
  line = line.substr(kOpen.size(), line.size() - kOpen.size() - kClose.size());
  const size_t quote = line.find('\'');
  return quote != std::string_view::npos && line.substr(quote, 2) == "'>" &&
         line.find('<') == std::string_view::npos &&
         line.find('\'', quote + 1) == std::string_view::npos;
}

}  // namespace

size_t EarlierBlockLength(std::string_view page, TocForm form,
                          const std::vector<std::string>& entries, PageEncoding encoding) {
  if (encoding == PageEncoding::Utf16Le || encoding == PageEncoding::Utf16Be) {
    // Recognised in the page's text; each UTF-16 unit of that text's prefix
    // is two bytes of the page, a unit that decoded to U+FFFD included.
    const std::string utf8 = Utf16PageText(page, encoding);
    const size_t length = EarlierBlockLength(utf8, form, entries, PageEncoding::Utf8);
    return 2 * text::Utf8ToUtf16(std::string_view(utf8).substr(0, length)).size();
  }
  std::set<std::string> labels;
  for (const std::string& entry : entries) {
    labels.insert(EncodeForPage(TocLabel(entry), encoding, form == TocForm::Html));
  }
  const std::string header = TocBlock(form, {});
  if (page.substr(0, header.size()) != header) return 0;
  size_t at = header.size();
  for (std::optional<std::string_view> line; (line = LineAt(page, at));) {
    const bool ours =
        form == TocForm::Html ? IsLinkLine(*line) : labels.count(std::string(*line)) != 0;
    if (!ours) break;
    at += line->size() + kLineEnd.size();
  }
  return at;
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
