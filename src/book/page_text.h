#pragma once
// A page's text as a reader sees it, for the contents (titles) and the
// search (words). Pages are whatever the author's editor wrote: any bytes
// are read, with bounded work and memory, never more than the page.
#include <string>
#include <string_view>

#include "book/ansi_decoder.h"

namespace vexmar::book {

struct PageText {
  std::string title;    // the <title>, white space collapsed; empty when none
  std::string heading;  // the first <h1>, <h2> or <h3>, likewise
  std::string text;     // what the page shows, as UTF-8, words separated by white space
};

// The page's encoding is its byte-order mark, else (web pages) its <meta>
// charset declaration, else the ANSI code page (`ansi`). In a web page tags,
// comments, scripts and styles are left out and character references
// decoded; a text file is its text.
PageText ReadPageText(std::string_view bytes, bool webPage, AnsiDecoder ansi);

}  // namespace vexmar::book
