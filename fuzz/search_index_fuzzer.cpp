// The search entry's reader and the search, on any bytes: the input as an
// entry, which Open refuses unless it holds together and no search then
// reads past; the input's lines as pages, whose entry must open and find
// every page by its first word, with snippets of each; and that entry with
// one byte the input chooses changed, so damage deep in a real entry (a
// posting, a dictionary block) is tried as often as damage to its header.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "book/search_index.h"
#include "book/search_tokens.h"

namespace {

using namespace vexmar::book;

void SearchAll(std::string_view entry, const SearchQuery& typed) {
  const auto index = SearchIndex::Open(entry);
  if (!index) return;
  for (std::uint32_t page = 0; page < index->pageCount(); ++page) index->pageName(page);
  for (const char* query : {"a", "\"a b\"", "a*", "b a*", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"}) {
    index->Search(ParseQuery(query), 10);
  }
  index->Search(typed, 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const SearchQuery typed = ParseQuery(bytes.substr(0, 64));
  SearchAll(bytes, typed);

  SearchIndexWriter writer;
  std::vector<std::string_view> pages;
  for (std::size_t at = 0; at <= bytes.size() && pages.size() < 64;) {
    const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
    pages.push_back(bytes.substr(at, end - at));
    writer.AddPage(std::to_string(pages.size()), pages.back());
    at = end + 1;
  }
  const std::string entry = writer.Finish();
  const auto index = SearchIndex::Open(entry);
  if (!index || index->pageCount() != pages.size()) std::abort();
  for (std::uint32_t page = 0; page < pages.size(); ++page) {
    const std::vector<SearchToken> tokens = Tokenize(pages[page]);
    if (tokens.empty()) continue;
    SearchQuery first;
    first.phrases.push_back({tokens[0].term});
    bool found = false;
    for (const SearchHit& hit : index->Search(first, pages.size())) found |= hit.page == page;
    if (!found) std::abort();
    Bracketed(MakeSnippet(pages[page], typed));
  }

  if (size >= 4 && !entry.empty()) {
    std::string damaged = entry;
    const std::size_t at =
        std::size_t{data[0]} | std::size_t{data[1]} << 8 | std::size_t{data[2]} << 16;
    damaged[at % damaged.size()] = static_cast<char>(data[3]);
    SearchAll(damaged, typed);
  }
  return 0;
}
