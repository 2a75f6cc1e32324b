// Placeholder until the contents entry's layout lands: NAME<TAB>TITLE lines.
#include "book/contents_entry.h"

namespace vexmar::book {

std::string WriteContentsEntry(const std::vector<ContentsPage>& pages) {
  std::string out;
  for (const ContentsPage& page : pages) out += page.name + "\t" + page.title + "\n";
  return out;
}

Result<std::vector<ContentsPage>> ReadContentsEntry(std::string_view bytes) {
  std::vector<ContentsPage> pages;
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    const auto tab = bytes.find('\t');
    if (end == std::string_view::npos || tab > end) return Fail("the contents entry is damaged");
    pages.push_back(
        {std::string(bytes.substr(0, tab)), std::string(bytes.substr(tab + 1, end - tab - 1))});
    bytes.remove_prefix(end + 1);
  }
  return pages;
}

}  // namespace vexmar::book
