// libFuzzer entry for the link check's page scanner: any bytes, read as a
// web page and as a style sheet. The scan must never fault, and what it
// returns is never more than the page held: every target and anchor is
// made of the page's own bytes (character references only shrink), and
// every line number lies within the page.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "book/page_links.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t lines =
      static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  const vexmar::book::PageLinks page = vexmar::book::ScanPage(bytes);
  std::size_t held = 0;
  for (const auto& reference : page.references) {
    if (reference.line < 1 || reference.line > lines) std::abort();
    held += reference.target.size();
  }
  for (const auto& anchor : page.anchors) held += anchor.size();
  if (held > size) std::abort();
  std::size_t previous = 1;
  for (const auto& reference : vexmar::book::ScanStyleSheet(bytes)) {
    if (reference.line < previous || reference.line > lines) std::abort();
    previous = reference.line;
  }
  return 0;
}
