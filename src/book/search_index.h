#pragma once
// The book's full-text index (the "VEXMAR"/"SEARCH" entry) and the search
// the viewer runs on it: words with their positions, so all words, phrases
// and prefixes can be asked for, ranked best first (BM25). The layout is
// versioned and documented in docs/book-format.md.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"

namespace vexmar::book {

// A page's terms in order, as the writer takes them: gathered ahead of it
// (the build does so on a thread of its own) to spare the writer the
// tokenizing. `text` holds the terms one after the other.
struct PageTerms {
  std::string text;
  std::vector<std::uint32_t> lengths;
};
// Fills `terms` with those of `text`, as Tokenize reads them.
void GatherTerms(std::string_view text, PageTerms& terms);

// Builds the entry page by page; pages are numbered in the order added.
class SearchIndexWriter {
 public:
  SearchIndexWriter();
  ~SearchIndexWriter();
  SearchIndexWriter(const SearchIndexWriter&) = delete;
  SearchIndexWriter& operator=(const SearchIndexWriter&) = delete;

  // `name` as the book stores the page (what /list prints); `text` its
  // text as ReadPageText gives it.
  void AddPage(std::string_view name, std::string_view text);
  // The same for a page whose terms were gathered already.
  void AddPage(std::string_view name, const PageTerms& terms);
  // The entry's bytes; the writer then starts over, empty.
  std::string Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A reader's query: words, all of which must match; "a phrase", whose words
// must stand side by side; and prefix*, any word that starts so. A word
// that reads as several terms ("e-mail", or Japanese, which the index keeps
// as pairs of characters) is a phrase of them.
struct SearchQuery {
  std::vector<std::vector<std::string>> phrases;  // a single word is a phrase of one
  std::vector<std::string> prefixes;
  bool empty() const { return phrases.empty() && prefixes.empty(); }
};
SearchQuery ParseQuery(std::string_view text);

struct SearchHit {
  std::uint32_t page;  // in the order the pages were added
  double score;
};

class SearchIndex {
 public:
  SearchIndex(SearchIndex&&) noexcept;
  SearchIndex& operator=(SearchIndex&&) noexcept;
  ~SearchIndex();

  // Reads the entry without trusting a byte of it. The bytes must outlive
  // the index, which reads them in place.
  static Result<SearchIndex> Open(std::string_view bytes);

  std::size_t pageCount() const;
  std::string_view pageName(std::uint32_t page) const;
  // The pages that match, best first (ties in the order the pages were
  // added), at most `limit` of them. A part of the entry found damaged on
  // the way matches nothing; it is never read past.
  std::vector<SearchHit> Search(const SearchQuery& query, std::size_t limit) const;

 private:
  SearchIndex();

  struct Data;
  // Owned alone: a shared pointer would draw the C++ library's threading
  // support into every book's viewer, tens of kilobytes for nothing.
  std::unique_ptr<const Data> data_;
};

// The number of pages an entry of `entrySize` bytes indexes, read from its
// first bytes alone (its header), for tools that describe a book without
// holding its index in memory; Open checks the rest.
Result<std::uint32_t> SearchIndexPages(std::string_view header, std::size_t entrySize);
inline constexpr std::size_t kSearchIndexHeaderBytes = 40;

// A piece of a page's text around its first hits, with where the hits are.
struct Snippet {
  std::string text;
  std::vector<std::pair<std::size_t, std::size_t>> hits;  // offset and length in `text`
};
Snippet MakeSnippet(std::string_view pageText, const SearchQuery& query);
// The snippet with each hit between "[" and "]".
std::string Bracketed(const Snippet& snippet);

}  // namespace vexmar::book
