#include "book/page_links.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
  if (text.size() - std::min(at, text.size()) < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[at + i]) != prefix[i]) return false;
  }
  return true;
}

// `lower` is written in lower case.
bool EqualsNoCase(std::string_view text, std::string_view lower) {
  return text.size() == lower.size() && StartsWithNoCase(text, 0, lower);
}

// Line breaks between two places, eight bytes at a time: the count runs
// over every byte of every page, so it is the scan's hottest loop.
std::size_t Lines(std::string_view text, std::size_t from, std::size_t to) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr std::uint64_t kBreaks = 0x0A0A0A0A0A0A0A0Aull;
  std::size_t count = 0;
  for (; from + 8 <= to; from += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + from, 8);
    word ^= kBreaks;  // a line break becomes a zero byte
    const std::uint64_t zeros = ~(((word & kLow7) + kLow7) | word | kLow7);
    // One bit a break, at the top of its byte; the product adds them up.
    count += static_cast<std::size_t>(((zeros >> 7) * 0x0101010101010101ull) >> 56);
  }
  for (; from < to; ++from) {
    if (text[from] == '\n') ++count;
  }
  return count;
}

void AppendCodePoint(std::string& out, std::uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  utf::AppendUtf8(out, static_cast<char32_t>(cp));
}

// "&#38;", "&#x26;" or one of the names a link plausibly holds; anything
// else stays as written, as browsers leave an unknown reference.
std::size_t DecodeReference(std::string_view text, std::size_t at, std::string& out) {
  static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}};
  std::size_t i = at + 1;
  if (i < text.size() && text[i] == '#') {
    const bool hex = i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X');
    i += hex ? 2 : 1;
    const std::size_t digits = i;
    std::uint32_t cp = 0;
    for (; i < text.size(); ++i) {
      const char c = AsciiLower(text[i]);
      const int value = IsDigit(c) ? c - '0' : (hex && c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
      if (value < 0) break;
      cp = std::min<std::uint32_t>(cp * (hex ? 16u : 10u) + static_cast<std::uint32_t>(value),
                                   0x110000);
    }
    if (i == digits) return 0;
    AppendCodePoint(out, cp);
    return i - at + (i < text.size() && text[i] == ';' ? 1 : 0);
  }
  for (const auto& [name, value] : kNames) {
    if (text.substr(i, name.size()) != name) continue;
    const std::size_t end = i + name.size();
    if (end < text.size() && text[end] == ';') {
      out += value;
      return end + 1 - at;
    }
    // An old page may write "&amp" bare; "&ampx=" stays as written.
    const bool bareOk =
        name == "amp" && (end == text.size() ||
                          (!IsAsciiLetter(text[end]) && !IsDigit(text[end]) && text[end] != '='));
    if (bareOk) {
      out += value;
      return end - at;
    }
  }
  return 0;
}

std::string DecodeEntities(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size();) {
    const std::size_t used = value[i] == '&' ? DecodeReference(value, i, out) : 0;
    if (used == 0) out += value[i++];
    i += used;
  }
  return out;
}

// The image candidates of a srcset: "a.png 1x, b.png 2x". A URL may hold
// commas; a descriptor list ends at the first comma outside parentheses.
std::vector<std::string_view> SrcsetUrls(std::string_view value) {
  std::vector<std::string_view> urls;
  std::size_t i = 0;
  while (i < value.size()) {
    while (i < value.size() && (IsSpace(value[i]) || value[i] == ',')) ++i;
    const std::size_t start = i;
    while (i < value.size() && !IsSpace(value[i])) ++i;
    std::string_view url = value.substr(start, i - start);
    if (url.empty()) break;
    if (url.back() == ',') {
      while (!url.empty() && url.back() == ',') url.remove_suffix(1);
      urls.push_back(url);
      continue;
    }
    urls.push_back(url);
    for (int depth = 0; i < value.size(); ++i) {
      if (value[i] == '(') ++depth;
      if (value[i] == ')' && depth > 0) --depth;
      if (value[i] == ',' && depth == 0) break;
    }
  }
  return urls;
}

// A quoted CSS string from its opening quote; `end` is put past the closing
// one (or at the end of the text).
std::string CssString(std::string_view css, std::size_t at, std::size_t& end) {
  const char quote = css[at];
  std::string value;
  std::size_t i = at + 1;
  for (; i < css.size() && css[i] != quote; ++i) {
    if (css[i] == '\\' && i + 1 < css.size()) ++i;
    value += css[i];
  }
  end = std::min(i + 1, css.size());
  return value;
}

class HtmlScanner {
 public:
  explicit HtmlScanner(std::string_view html) : s_(html) {}

  PageLinks Run() {
    while (pos_ < s_.size()) {
      const std::size_t open = s_.find('<', pos_);
      if (open == kNone) break;
      MoveTo(open);
      if (s_.compare(open, 4, "<!--") == 0) {
        SkipComment();
      } else if (open + 1 < s_.size() && IsAsciiLetter(s_[open + 1])) {
        StartTag();
      } else if (open + 1 < s_.size() &&
                 (s_[open + 1] == '/' || s_[open + 1] == '!' || s_[open + 1] == '?')) {
        const std::size_t close = s_.find('>', open);
        MoveTo(close == kNone ? s_.size() : close + 1);
      } else {
        MoveTo(open + 1);
      }
    }
    return std::move(links_);
  }

 private:
  // Forward only; the line is counted on the way.
  void MoveTo(std::size_t to) {
    line_ += Lines(s_, pos_, to);
    pos_ = to;
  }

  void SkipComment() {
    // "<!-->" and "<!--->" close at once, as browsers read them.
    std::size_t end = pos_ + 4;
    if (s_.compare(end, 1, ">") == 0) return MoveTo(end + 1);
    if (s_.compare(end, 2, "->") == 0) return MoveTo(end + 2);
    end = s_.find("-->", end);
    MoveTo(end == kNone ? s_.size() : end + 3);
  }

  void StartTag() {
    std::size_t i = pos_ + 1;
    const std::size_t tagStart = i;
    while (i < s_.size() && !IsSpace(s_[i]) && s_[i] != '/' && s_[i] != '>') ++i;
    const std::string_view tag = s_.substr(tagStart, i - tagStart);
    while (true) {
      while (i < s_.size() && (IsSpace(s_[i]) || s_[i] == '/')) ++i;
      if (i >= s_.size()) return MoveTo(s_.size());
      if (s_[i] == '>') break;
      const std::size_t nameStart = i;
      ++i;  // a name may begin with "="
      while (i < s_.size() && !IsSpace(s_[i]) && s_[i] != '/' && s_[i] != '>' && s_[i] != '=') {
        ++i;
      }
      const std::string_view name = s_.substr(nameStart, i - nameStart);
      std::size_t j = i;
      while (j < s_.size() && IsSpace(s_[j])) ++j;
      if (j >= s_.size() || s_[j] != '=') continue;
      ++j;
      while (j < s_.size() && IsSpace(s_[j])) ++j;
      std::size_t valueStart = j, valueEnd;
      if (j < s_.size() && (s_[j] == '"' || s_[j] == '\'')) {
        valueStart = j + 1;
        valueEnd = std::min(s_.find(s_[j], valueStart), s_.size());
        i = std::min(valueEnd + 1, s_.size());
      } else {
        valueEnd = j;
        while (valueEnd < s_.size() && !IsSpace(s_[valueEnd]) && s_[valueEnd] != '>') ++valueEnd;
        i = valueEnd;
      }
      Attribute(tag, name, valueStart, s_.substr(valueStart, valueEnd - valueStart));
    }
    MoveTo(i + 1);
    for (const char* raw : {"script", "style", "textarea", "title", "xmp"}) {
      if (EqualsNoCase(tag, raw)) return RawText(raw);
    }
  }

  void Attribute(std::string_view tag, std::string_view name, std::size_t at,
                 std::string_view raw) {
    const bool reference = (EqualsNoCase(name, "href") && !EqualsNoCase(tag, "base")) ||
                           EqualsNoCase(name, "src") || EqualsNoCase(name, "background");
    const bool srcset = !reference && EqualsNoCase(name, "srcset");
    const bool style = !reference && EqualsNoCase(name, "style");
    if (!reference && !srcset && !style && !EqualsNoCase(name, "id") &&
        !(EqualsNoCase(name, "name") && EqualsNoCase(tag, "a"))) {
      return;
    }
    MoveTo(at);
    // Every reference of one attribute is placed on the line its value
    // starts on: a decoded "&#10;" is no line of the page.
    std::string value = DecodeEntities(raw);
    if (reference) {
      links_.references.push_back({std::move(value), line_});
    } else if (srcset) {
      for (std::string_view url : SrcsetUrls(value)) {
        links_.references.push_back({std::string(url), line_});
      }
    } else if (style) {
      for (PageReference& found : ScanStyleSheet(value, line_)) {
        links_.references.push_back({std::move(found.target), line_});
      }
    } else {
      links_.anchors.push_back(std::move(value));
    }
  }

  // The text of a script, a style block and the like runs to its own end
  // tag; a "<a href" inside is no link. A style block's url()s are.
  void RawText(std::string_view tag) {
    std::size_t end = pos_;
    while ((end = s_.find("</", end)) != kNone) {
      const std::size_t after = end + 2 + tag.size();
      if (StartsWithNoCase(s_, end + 2, tag) &&
          (after >= s_.size() || IsSpace(s_[after]) || s_[after] == '/' || s_[after] == '>')) {
        break;
      }
      end += 2;
    }
    if (end == kNone) end = s_.size();
    if (tag == "style") {
      for (PageReference& found : ScanStyleSheet(s_.substr(pos_, end - pos_), line_)) {
        links_.references.push_back(std::move(found));
      }
    }
    MoveTo(end);
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  PageLinks links_;
};

}  // namespace

PageLinks ScanPage(std::string_view html) {
  return HtmlScanner(html).Run();
}

std::vector<PageReference> ScanStyleSheet(std::string_view css, std::size_t firstLine) {
  std::vector<PageReference> found;
  std::size_t line = firstLine;
  std::size_t i = 0;
  const auto moveTo = [&](std::size_t to) {
    line += Lines(css, i, to);
    i = to;
  };
  while (i < css.size()) {
    const char c = css[i];
    if (c == '/' && css.compare(i, 2, "/*") == 0) {
      const std::size_t end = css.find("*/", i + 2);
      moveTo(end == kNone ? css.size() : end + 2);
    } else if (c == '"' || c == '\'') {
      std::size_t end;
      CssString(css, i, end);
      moveTo(end);
    } else if ((c == 'u' || c == 'U') && StartsWithNoCase(css, i, "url(") &&
               (i == 0 || !(IsAsciiLetter(css[i - 1]) || IsDigit(css[i - 1]) || css[i - 1] == '-' ||
                            css[i - 1] == '_'))) {
      std::size_t j = i + 4;
      while (j < css.size() && IsSpace(css[j])) ++j;
      moveTo(j);
      std::string target;
      if (j < css.size() && (css[j] == '"' || css[j] == '\'')) {
        target = CssString(css, j, j);
      } else {
        const std::size_t end = std::min(css.find(')', j), css.size());
        std::string_view bare = css.substr(j, end - j);
        while (!bare.empty() && IsSpace(bare.back())) bare.remove_suffix(1);
        target = std::string(bare);
        j = end;
      }
      found.push_back({std::move(target), line});
      moveTo(std::min(std::max(j, i), css.size()));
    } else if (c == '@' && StartsWithNoCase(css, i, "@import")) {
      std::size_t j = i + 7;
      while (j < css.size() && IsSpace(css[j])) ++j;
      if (j < css.size() && (css[j] == '"' || css[j] == '\'')) {
        moveTo(j);
        std::string target = CssString(css, j, j);
        found.push_back({std::move(target), line});
        moveTo(j);
      } else {
        moveTo(j);
      }
    } else {
      if (c == '\n') ++line;
      ++i;
    }
  }
  return found;
}

}  // namespace vexmar::book
