#pragma once
// The table of contents a build puts in front of the index page: a list of
// links for a web page, a list of names for any other page.
#include <string>
#include <string_view>
#include <vector>

namespace vexmar::build {

enum class TocForm { Html, Plain };

// HTML when the index page's name ends in ".html" or ".htm", in any case.
TocForm TocFormFor(std::string_view indexPagePath);

// The label of a contents entry: the name after its last folder separator,
// up to its first "."; a name without "." is its own label.
std::string TocLabel(std::string_view entry);

// The block's lines, each ended by CR LF. In the HTML form, entry texts and
// labels are escaped, so a name like "Tom's page.htm" still links.
std::string TocBlock(TocForm form, const std::vector<std::string>& entries);

// The five characters that would end an attribute or start markup.
std::string EscapeHtml(std::string_view text);

}  // namespace vexmar::build
