#pragma once
// The encoding of the index page a table of contents goes in front of: the
// block is written in the page's own encoding, so a browser reads it as the
// rest of the page, and after the page's byte-order mark, which must stay
// the page's first bytes to count.
#include <cstddef>
#include <string>
#include <string_view>

namespace vexmar::build {

enum class PageEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct PageLayout {
  PageEncoding encoding = PageEncoding::Ansi;
  std::size_t markLength = 0;  // the byte-order mark's bytes at the page's start
};

// The byte-order mark decides; else, in a web page, a <meta> charset
// declaration (charset="utf-8", or http-equiv's content="...; charset=utf-8")
// in the first 1024 bytes, where browsers look for it; else the ANSI code
// page. As in browsers, a declaration of UTF-16 in such a page means UTF-8.
PageLayout PageLayoutOf(std::string_view page, bool webPage);

// UTF-8 text as the page's bytes. In a web page in the ANSI code page a
// character the code page cannot hold becomes a character reference
// ("&#26085;"), which every browser reads back; elsewhere it becomes "?".
std::string EncodeForPage(std::string_view utf8, PageEncoding encoding, bool webPage);

// A UTF-16 page's text (after its mark) as UTF-8; a last odd byte is left out.
std::string Utf16PageText(std::string_view bytes, PageEncoding encoding);

}  // namespace vexmar::build
