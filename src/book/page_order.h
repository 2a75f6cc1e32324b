#pragma once
// The order a reader goes through the book (Previous and Next) and the
// titles the contents show. The compiler works them out when it builds; the
// viewer works them out the same way for a book made without its contents.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "book/page_text.h"

namespace vexmar::book {

// The index page first; then the pages in the order links first reach them
// from it, breadth first, each page's links in document order; then the
// pages no link reaches, in the order given. `pages` are names relative to
// the book (compared without regard to letter case, `\` and `/` alike);
// `linksOf(i)` gives the targets page i's links name, as written in it
// (as UTF-8), and is asked once for each page reached, in reading order,
// so a caller can read each page as the order gets to it. A link is
// resolved as a browser resolves it against the page's folder ("%XX"
// escapes that are no UTF-8 read by `ansi`, "#anchor" and "?query"
// dropped); one that leaves the book or names no page is passed over. An
// `indexPage` out of range reaches nothing. Returns indices into `pages`.
std::vector<std::size_t> ReadingOrder(
    std::size_t indexPage, const std::vector<std::string>& pages,
    const std::function<std::vector<std::string>(std::size_t page)>& linksOf,
    AnsiDecoder ansi = nullptr);

// The page's <title>, else its first heading, else the table of contents'
// label for its file name (else, when that is empty, its file name).
std::string PageTitle(const PageText& text, std::string_view name);

}  // namespace vexmar::book
