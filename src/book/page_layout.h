#pragma once
// How a page's bytes are encoded: the table of contents goes in front of the
// index page in the page's own encoding, and the search and the contents
// read a page's text and title the way a browser would decode them.
#include <cstddef>
#include <string>
#include <string_view>

namespace vexmar::book {

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

// A UTF-16 page's text (after its mark) as UTF-8; a last odd byte is left out.
std::string Utf16PageText(std::string_view bytes, PageEncoding encoding);

}  // namespace vexmar::book
