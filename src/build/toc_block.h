#pragma once
// The table of contents a build puts in front of the index page: a list of
// links for a web page, a list of names for any other page.
#include <string>
#include <string_view>
#include <vector>

#include "build/page_encoding.h"

namespace vexmar::build {

enum class TocForm { Html, Plain };

// HTML when the index page's name ends in ".html" or ".htm", in any case.
TocForm TocFormFor(std::string_view indexPagePath);

// The block's lines, each ended by CR LF. In the HTML form, entry texts and
// labels are escaped, so a name like "Tom's page.htm" still links.
std::string TocBlock(TocForm form, const std::vector<std::string>& entries);

// How many bytes at the start of `page` (its bytes after any byte-order
// mark, in `encoding`) are a block an earlier build put there, so a new
// build replaces it instead of piling another on top; 0 when the page does
// not begin with one. A web page's block is recognised by its markup alone;
// a plain page's entry lines must be labels of `entries`, since any line
// could be the page's own.
size_t EarlierBlockLength(std::string_view page, TocForm form,
                          const std::vector<std::string>& entries, PageEncoding encoding);
// The five characters that would end an attribute or start markup.
std::string EscapeHtml(std::string_view text);

}  // namespace vexmar::build
