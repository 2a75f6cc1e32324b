// libFuzzer entry for the book's contents entry and the reading order: any
// bytes are read as the entry. A reading never faults, never holds more
// pages than the bytes have room for, and what it accepts is written back
// byte for byte. The pages it reads are then put in reading order, each
// page's title taken as its links: the order holds every page exactly once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "book/contents_entry.h"
#include "book/page_order.h"
// The tests' stand-in for the ANSI code page.
#include "../tests/viewer/latin1_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace book = vexmar::book;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto read = book::ReadContentsEntry(bytes);
  if (!read) return 0;
  const std::vector<book::ContentsPage>& pages = read.value();
  if (pages.size() > size / 8) std::abort();
  bool shortTitles = true;
  for (const auto& page : pages) shortTitles &= page.title.size() <= book::kMaxContentsTitleBytes;
  if (shortTitles && book::WriteContentsEntry(pages) != bytes) std::abort();

  std::vector<std::string> names;
  for (const auto& page : pages) names.push_back(page.name);
  const auto order = book::ReadingOrder(
      names.empty() ? 0 : data[0] % names.size(), names,
      [&](std::size_t page) {
        std::vector<std::string> links;
        std::istringstream words(pages[page].title);
        for (std::string word; words >> word;) links.push_back(word);
        return links;
      },
      vexmar::viewer::testing::Latin1ToUtf8);
  std::vector<bool> seen(names.size(), false);
  if (order.size() != names.size()) std::abort();
  for (const std::size_t page : order) {
    if (page >= names.size() || seen[page]) std::abort();
    seen[page] = true;
  }
  return 0;
}
