#pragma once
// What the reader's pane, Previous and Next, /contents and /search work
// from: the book's pages in reading order with their titles, and the search
// over their text. A book carrying its contents entry is listed from it; a
// book made without one (or with one that names pages the book lacks) is
// worked out from its pages, as the compiler would have done.
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/ansi_decoder.h"
#include "book/page_text.h"
#include "book/search_index.h"
#include "viewer/entry_index.h"

namespace vexmar::viewer {

struct ReaderPage {
  const BookEntry* entry = nullptr;
  std::string title;  // UTF-8, on one line
};
using ReaderContents = std::vector<ReaderPage>;

// The page's text as the search and the titles read it.
book::PageText ReadEntryText(const BookEntry& entry, book::AnsiDecoder ansi);

// `contentsEntry` is the book's contents entry, when it has one.
ReaderContents BookContents(const EntryIndex& entries, const BookEntry& indexPage,
                            std::optional<std::string_view> contentsEntry, book::AnsiDecoder ansi);

// The full-text index of the pages, for a book made without one. A worker
// building it stops early (and returns nothing usable) once `cancel` is set.
std::string BuildSearchEntry(const ReaderContents& contents, book::AnsiDecoder ansi,
                             const std::atomic<bool>* cancel = nullptr);

struct FoundPage {
  const BookEntry* entry = nullptr;
  std::string title;
  double score = 0;
  book::Snippet snippet;
};

// The pages that match `query`, best first, at most `limit` of them; pages
// the index names but the book lacks are left out.
std::vector<FoundPage> SearchBook(const book::SearchIndex& index, std::string_view query,
                                  const EntryIndex& entries, const ReaderContents& contents,
                                  book::AnsiDecoder ansi, std::size_t limit);

// The lines /contents and /search print, without their line end.
std::string ContentsLine(const ReaderPage& page);
std::string SearchLine(const FoundPage& found);

// The place of the page in the reading order; nothing for a file that is
// not in it.
std::optional<std::size_t> PositionOf(const ReaderContents& contents, const BookEntry* entry);
// The page `step` pages on from `entry` (-1 Previous, +1 Next); nothing at
// either end. A page outside the reading order goes on from the index page.
const BookEntry* PageBeside(const ReaderContents& contents, const BookEntry* entry, int step);

// Where `/page NAME[#anchor]` opens: the page, or the index page when the
// book has no such page (`found` false), with the anchor as given.
struct StartPage {
  const BookEntry* entry = nullptr;
  std::string anchor;
  bool found = true;
};
StartPage ResolveStartPage(const EntryIndex& entries, const BookEntry& indexPage,
                           std::string_view request);

}  // namespace vexmar::viewer
