// A page is decoded to UTF-8 first (its markup is ASCII in every encoding
// a page may have), then read once from start to end: every step moves
// forward, so the work is linear in the page whatever its bytes.
#include "book/page_text.h"

#include <array>
#include <cstddef>

#include "book/character_references.h"
#include "book/page_layout.h"
#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IsAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAlnum(char c) {
  return IsAlpha(c) || (c >= '0' && c <= '9');
}
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Text with its white space collapsed: runs of it become one space, and
// none at either end.
class CollapsedText {
 public:
  void Space() { pendingSpace_ = !text_.empty(); }
  void Add(char c) {
    if (pendingSpace_) text_ += ' ';
    pendingSpace_ = false;
    text_ += c;
  }
  void Add(char32_t code) {
    if (code == 0xA0 || code == ' ' || code == '\t' || code == '\n' || code == '\r' ||
        code == '\f') {
      Space();
      return;
    }
    if (pendingSpace_) text_ += ' ';
    pendingSpace_ = false;
    utf::AppendUtf8(text_, code);
  }
  // Characters that are neither white space nor markup, as they are.
  void AddRun(std::string_view run) {
    if (pendingSpace_) text_ += ' ';
    pendingSpace_ = false;
    text_ += run;
  }
  std::size_t Size() const { return text_.size(); }
  std::string& Text() { return text_; }

 private:
  std::string text_;
  bool pendingSpace_ = false;
};

// Bytes that end a run of plain text: markup, references, white space and
// the first byte of a no-break space.
constexpr std::array<bool, 256> kRunEnds = [] {
  std::array<bool, 256> table{};
  for (const char c : {'<', '&', ' ', '\t', '\n', '\r', '\f', '\xC2'}) {
    table[static_cast<unsigned char>(c)] = true;
  }
  return table;
}();

// Where the run of plain text starting at `at` ends.
std::size_t RunEnd(std::string_view text, std::size_t at) {
  while (at < text.size() && !kRunEnds[static_cast<unsigned char>(text[at])]) ++at;
  return at;
}

// Adds what text[at] stands for (a character, a character reference, white
// space) and returns where the next one starts.
std::size_t AddCharacter(std::string_view text, std::size_t at, CollapsedText& out) {
  const std::size_t runEnd = RunEnd(text, at);
  if (runEnd != at) {
    out.AddRun(text.substr(at, runEnd - at));
    return runEnd;
  }
  const char c = text[at];
  if (c == '&') {
    const CharacterReference reference = ReadCharacterReference(text, at);
    if (reference.length != 0) {
      out.Add(reference.code);
      return at + reference.length;
    }
  } else if (IsSpace(c)) {
    out.Space();
    return at + 1;
  } else if (c == '\xC2' && at + 1 < text.size() && text[at + 1] == '\xA0') {
    out.Space();  // a no-break space, which separates words as a space does
    return at + 2;
  }
  out.Add(c);
  return at + 1;
}

std::string Collapsed(std::string_view text) {
  CollapsedText out;
  for (std::size_t at = 0; at < text.size();) at = AddCharacter(text, at, out);
  return std::move(out.Text());
}

std::string PlainCollapsed(std::string_view text) {
  CollapsedText out;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (IsSpace(text[at])) {
      out.Space();
    } else {
      out.Add(text[at]);
    }
  }
  return std::move(out.Text());
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Every page's text passes here: the two- and three-byte sequences that
// most of the world's text is made of are checked in place, anything else
// by the codec.
bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
      ++at;
      continue;
    }
    const std::size_t left = bytes.size() - at;
    if (lead >= 0xC2 && lead < 0xE0 && left >= 2 &&
        IsContinuation(static_cast<unsigned char>(bytes[at + 1]))) {
      at += 2;
      continue;
    }
    if (lead >= 0xE0 && lead < 0xF0 && left >= 3) {
      const auto second = static_cast<unsigned char>(bytes[at + 1]);
      // Not overlong (E0 needs A0 or more) and no surrogate (ED needs less than A0).
      const bool inRange = (lead != 0xE0 || second >= 0xA0) && (lead != 0xED || second < 0xA0);
      if (inRange && IsContinuation(second) &&
          IsContinuation(static_cast<unsigned char>(bytes[at + 2]))) {
        at += 3;
        continue;
      }
    }
    const std::size_t start = at;
    if (utf::NextCodePoint(bytes, at) == utf::kReplacement && at - start == 1) return false;
  }
  return true;
}

std::string ValidUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) utf::AppendUtf8(out, utf::NextCodePoint(bytes, at));
  return out;
}

std::string DecodedPage(std::string_view bytes, bool webPage, AnsiDecoder ansi) {
  const PageLayout layout = PageLayoutOf(bytes, webPage);
  const std::string_view body = bytes.substr(layout.markLength);
  switch (layout.encoding) {
    case PageEncoding::Utf16Le:
    case PageEncoding::Utf16Be:
      return Utf16PageText(body, layout.encoding);
    case PageEncoding::Ansi:
      if (ansi) return ValidUtf8(ansi(body));
      break;
    case PageEncoding::Utf8:
      break;
  }
  return ValidUtf8(body);
}

// Where the first "</name" (any letter case, then no more of a name)
// starts at or after `from`; kNone when there is none.
std::size_t FindEndTag(std::string_view html, std::string_view name, std::size_t from) {
  for (std::size_t at = html.find("</", from); at != kNone; at = html.find("</", at + 2)) {
    std::size_t k = 0;
    while (k < name.size() && at + 2 + k < html.size() && Lower(html[at + 2 + k]) == name[k]) ++k;
    const std::size_t after = at + 2 + k;
    if (k == name.size() && (after == html.size() || !IsAlnum(html[after]))) return at;
  }
  return kNone;
}

// Just past the '>' that closes the tag whose attributes start at `from`,
// skipping quoted attribute values; the page's end when nothing closes it.
std::size_t TagEnd(std::string_view html, std::size_t from) {
  char previous = ' ';
  for (std::size_t at = from; at < html.size(); ++at) {
    const char c = html[at];
    if (c == '>') return at + 1;
    if ((c == '"' || c == '\'') && previous == '=') {
      at = html.find(c, at + 1);
      if (at == kNone) return html.size();
    }
    if (!IsSpace(c)) previous = c;
  }
  return html.size();
}

// Tags within a line of text: they do not separate the words around them,
// as <b>W</b>ord shows one word. Any other tag ends a word.
constexpr std::string_view kInlineTags[] = {
    "a",     "abbr", "acronym", "b",      "bdi", "bdo", "big",  "cite", "code", "data", "del",
    "dfn",   "em",   "font",    "i",      "ins", "kbd", "mark", "nobr", "q",    "s",    "samp",
    "small", "span", "strike",  "strong", "sub", "sup", "time", "tt",   "u",    "var",  "wbr"};

bool IsInline(std::string_view name) {
  for (const std::string_view tag : kInlineTags) {
    if (name == tag) return true;
  }
  return false;
}

// Elements whose content a reader never sees as text: <noscript> too, as
// the viewer's browser runs scripts, and an <iframe>'s fallback text, which
// browsers that show frames leave out. With these and <title>, nothing in
// a page's <head> holds text, so the head needs no rule of its own.
bool IsHidden(std::string_view name) {
  return name == "script" || name == "style" || name == "noscript" || name == "template" ||
         name == "iframe";
}

bool IsHeading(std::string_view name, char deepest) {
  return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= deepest;
}

class WebPageReader {
 public:
  explicit WebPageReader(std::string_view html) : html_(html) {}

  PageText Read() {
    std::size_t at = 0;
    while (at < html_.size()) {
      at = html_[at] == '<' ? Markup(at) : AddCharacter(html_, at, text_);
    }
    if (headingStart_ != kNone) EndHeading();
    page_.text = std::move(text_.Text());
    return std::move(page_);
  }

 private:
  // Reads the markup at html_[at] == '<' and returns where the text goes on.
  std::size_t Markup(std::size_t at) {
    const std::string_view rest = html_.substr(at);
    if (rest.substr(0, 4) == "<!--") {
      const std::size_t end = html_.find("-->", at + 4);
      return end == kNone ? html_.size() : end + 3;
    }
    if (rest.size() >= 2 && (rest[1] == '!' || rest[1] == '?')) {
      const std::size_t end = html_.find('>', at);
      return end == kNone ? html_.size() : end + 1;
    }
    const bool closing = rest.size() >= 2 && rest[1] == '/';
    const std::size_t nameStart = at + (closing ? 2 : 1);
    if (nameStart >= html_.size() || !IsAlpha(html_[nameStart])) {
      text_.Add('<');  // a '<' that starts no tag is text
      return at + 1;
    }
    std::size_t nameEnd = nameStart;
    while (nameEnd < html_.size() && IsAlnum(html_[nameEnd])) ++nameEnd;
    // Names longer than any this reader knows are only told apart from those.
    std::string name;
    for (std::size_t k = nameStart; k < nameEnd && k < nameStart + 15; ++k) name += Lower(html_[k]);
    const std::size_t end = TagEnd(html_, nameEnd);
    if (closing) {
      if (IsHeading(name, '6') && headingStart_ != kNone) EndHeading();
    } else if (IsHidden(name)) {
      text_.Space();
      return SkipTo(name, end);
    } else if (name == "title") {
      // Its text is the page's name, not a part of what the page shows.
      const std::size_t close = FindEndTag(html_, name, end);
      if (page_.title.empty()) {
        page_.title = Collapsed(html_.substr(end, (close == kNone ? html_.size() : close) - end));
      }
      return close == kNone ? html_.size() : TagEnd(html_, close + 2 + name.size());
    } else if (IsHeading(name, '3') && page_.heading.empty() && headingStart_ == kNone) {
      text_.Space();
      headingStart_ = text_.Size();
    }
    if (!IsInline(name)) text_.Space();
    return end;
  }

  // Just past the end tag of the element `name` whose content starts at
  // `from`: the page's end when it has none, as browsers read it.
  std::size_t SkipTo(const std::string& name, std::size_t from) {
    const std::size_t close = FindEndTag(html_, name, from);
    return close == kNone ? html_.size() : TagEnd(html_, close + 2 + name.size());
  }

  void EndHeading() {
    std::string_view heading = std::string_view(text_.Text()).substr(headingStart_);
    while (!heading.empty() && heading.front() == ' ') heading.remove_prefix(1);
    page_.heading = std::string(heading);
    headingStart_ = kNone;  // an empty heading lets the next one count
  }

  std::string_view html_;
  CollapsedText text_;
  PageText page_;
  std::size_t headingStart_ = kNone;  // where the first heading's text starts
};

}  // namespace

PageText ReadPageText(std::string_view bytes, bool webPage, AnsiDecoder ansi) {
  const std::string decoded = DecodedPage(bytes, webPage, ansi);
  if (!webPage) {
    PageText page;
    page.text = PlainCollapsed(decoded);
    return page;
  }
  return WebPageReader(decoded).Read();
}

}  // namespace vexmar::book
