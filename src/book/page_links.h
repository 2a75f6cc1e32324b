#pragma once
// The references a web page or a style sheet makes to other files, read the
// way a browser reads them, so the link check sees what the viewer will be
// asked for. Pages are whatever the author's editor (or anyone) wrote: the
// scanner takes any bytes, never looks back more than a tag, and keeps only
// what it returns, which is never more than the page itself.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexmar::book {

struct PageReference {
  std::string target;  // as written, with character references (&amp;) decoded
  std::size_t line;    // counted from 1
};

struct PageLinks {
  // href, src, srcset, background, and url() and @import of style
  // attributes and <style> blocks, in the order they appear. Comments,
  // scripts and <base href> hold none.
  std::vector<PageReference> references;
  // The places a link may name after "#": every id, and the name of <a>.
  std::vector<std::string> anchors;
};

PageLinks ScanPage(std::string_view html);

// url() and @import of a style sheet, its first line numbered `firstLine`.
std::vector<PageReference> ScanStyleSheet(std::string_view css, std::size_t firstLine = 1);

}  // namespace vexmar::book
