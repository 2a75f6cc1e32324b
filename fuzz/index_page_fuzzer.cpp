// libFuzzer entry for the reading of an index page a table of contents goes
// in front of: its encoding from any bytes, and an earlier block in it. The
// block found lies within the page, and a block written in the page's
// encoding in front of its content is found again, whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "build/page_encoding.h"
#include "build/toc_block.h"

using namespace vexmar::build;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string page(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> entries = {"日本.htm", "Café.htm", "R&D's.txt"};
  for (const TocForm form : {TocForm::Html, TocForm::Plain}) {
    const bool webPage = form == TocForm::Html;
    const PageLayout layout = PageLayoutOf(page, webPage);
    if (layout.markLength > page.size()) std::abort();
    const std::string content = page.substr(layout.markLength);
    if (EarlierBlockLength(content, form, entries, layout.encoding) > content.size()) std::abort();
    const std::string block = EncodeForPage(TocBlock(form, entries), layout.encoding, webPage);
    if (EarlierBlockLength(block + content, form, entries, layout.encoding) < block.size()) {
      std::abort();
    }
  }
  return 0;
}
