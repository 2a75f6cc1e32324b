#pragma once
// The index page's text in its own encoding: the table of contents is
// written so a browser reads it as the rest of the page, after the page's
// byte-order mark, which must stay the page's first bytes to count.
#include <string>
#include <string_view>

#include "book/page_layout.h"

namespace vexmar::build {

using book::PageEncoding;
using book::PageLayout;
using book::PageLayoutOf;
using book::Utf16PageText;

// UTF-8 text as the page's bytes. In a web page in the ANSI code page a
// character the code page cannot hold becomes a character reference
// ("&#26085;"), which every browser reads back; elsewhere it becomes "?".
std::string EncodeForPage(std::string_view utf8, PageEncoding encoding, bool webPage);

}  // namespace vexmar::build
