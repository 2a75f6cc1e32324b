#include "viewer/reader_book.h"

#include <algorithm>

#include "book/contents_entry.h"
#include "book/entry_name.h"
#include "book/page_kind.h"
#include "book/page_links.h"
#include "book/page_order.h"

namespace vexmar::viewer {
namespace {

std::string_view BytesOf(const BookEntry& entry) {
  return {reinterpret_cast<const char*>(entry.data), entry.size};
}

// Tabs, line ends and other control characters would split a line of
// /contents or /search, and a list box shows them as boxes.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return text;
}

// A contents entry is used only when it names pages the book has: one
// written for other pages would send Previous and Next nowhere.
std::optional<ReaderContents> ContentsFromEntry(const EntryIndex& entries, std::string_view bytes) {
  Result<std::vector<book::ContentsPage>> read = book::ReadContentsEntry(bytes);
  if (!read || read->empty()) return std::nullopt;
  ReaderContents contents;
  for (book::ContentsPage& page : read.value()) {
    const BookEntry* entry = entries.Find(page.name);
    if (entry == nullptr) return std::nullopt;
    contents.push_back({entry, OneLine(std::move(page.title))});
  }
  return contents;
}

ReaderContents DeriveContents(const EntryIndex& entries, const BookEntry& indexPage,
                              book::AnsiDecoder ansi) {
  std::vector<const BookEntry*> pages;
  std::size_t index = 0;
  for (const BookEntry& entry : entries.entries()) {
    if (&entry == &indexPage) index = pages.size();
    if (&entry == &indexPage || book::IsPageName(entry.name)) pages.push_back(&entry);
  }
  std::vector<std::string> names;
  for (const BookEntry* page : pages) names.push_back(page->name);
  const auto linksOf = [&pages](std::size_t page) {
    std::vector<std::string> targets;
    if (!book::IsWebPageName(pages[page]->name)) return targets;
    for (book::PageReference& reference : book::ScanPage(BytesOf(*pages[page])).references) {
      targets.push_back(std::move(reference.target));
    }
    return targets;
  };
  ReaderContents contents;
  for (const std::size_t page : book::ReadingOrder(index, names, linksOf)) {
    if (page >= pages.size()) continue;
    const BookEntry& entry = *pages[page];
    contents.push_back({&entry, OneLine(book::PageTitle(ReadEntryText(entry, ansi), entry.name))});
  }
  return contents;
}

// Scores are printed with two decimals, without the C library's locale.
std::string ScoreText(double score) {
  if (!(score >= 0)) score = 0;
  if (score > 1e9) score = 1e9;
  const auto hundredths = static_cast<unsigned long long>(score * 100 + 0.5);
  const unsigned fraction = static_cast<unsigned>(hundredths % 100);
  return std::to_string(hundredths / 100) + (fraction < 10 ? ".0" : ".") + std::to_string(fraction);
}

}  // namespace

book::PageText ReadEntryText(const BookEntry& entry, book::AnsiDecoder ansi) {
  return book::ReadPageText(BytesOf(entry), book::IsWebPageName(entry.name), ansi);
}

ReaderContents BookContents(const EntryIndex& entries, const BookEntry& indexPage,
                            std::optional<std::string_view> contentsEntry, book::AnsiDecoder ansi) {
  if (contentsEntry) {
    if (std::optional<ReaderContents> stored = ContentsFromEntry(entries, *contentsEntry)) {
      return std::move(*stored);
    }
  }
  return DeriveContents(entries, indexPage, ansi);
}

std::string BuildSearchEntry(const ReaderContents& contents, book::AnsiDecoder ansi,
                             const std::atomic<bool>* cancel) {
  book::SearchIndexWriter writer;
  for (const ReaderPage& page : contents) {
    if (cancel != nullptr && cancel->load()) return {};
    writer.AddPage(page.entry->name, ReadEntryText(*page.entry, ansi).text);
  }
  return writer.Finish();
}

std::vector<FoundPage> SearchBook(const book::SearchIndex& index, std::string_view query,
                                  const EntryIndex& entries, const ReaderContents& contents,
                                  book::AnsiDecoder ansi, std::size_t limit) {
  std::vector<FoundPage> found;
  const book::SearchQuery parsed = book::ParseQuery(query);
  if (parsed.empty()) return found;
  for (const book::SearchHit& hit : index.Search(parsed, limit)) {
    const BookEntry* entry = entries.Find(index.pageName(hit.page));
    if (entry == nullptr) continue;
    FoundPage page{entry, entry->name, hit.score, {}};
    for (const ReaderPage& listed : contents) {
      if (listed.entry == entry) page.title = listed.title;
    }
    page.snippet = book::MakeSnippet(ReadEntryText(*entry, ansi).text, parsed);
    // Same length, so the hits' offsets still hold.
    page.snippet.text = OneLine(std::move(page.snippet.text));
    found.push_back(std::move(page));
  }
  return found;
}

std::string ContentsLine(const ReaderPage& page) {
  return page.entry->name + "\t" + page.title;
}

std::string SearchLine(const FoundPage& found) {
  return found.entry->name + "\t" + ScoreText(found.score) + "\t" + book::Bracketed(found.snippet);
}

std::optional<std::size_t> PositionOf(const ReaderContents& contents, const BookEntry* entry) {
  for (std::size_t i = 0; i < contents.size(); ++i) {
    if (contents[i].entry == entry) return i;
  }
  return std::nullopt;
}

const BookEntry* PageBeside(const ReaderContents& contents, const BookEntry* entry, int step) {
  if (contents.empty()) return nullptr;
  const std::size_t at = PositionOf(contents, entry).value_or(0);
  if (step < 0) return at == 0 ? nullptr : contents[at - 1].entry;
  return at + 1 >= contents.size() ? nullptr : contents[at + 1].entry;
}

StartPage ResolveStartPage(const EntryIndex& entries, const BookEntry& indexPage,
                           std::string_view request) {
  StartPage start;
  const std::size_t hash = request.find('#');
  if (hash != std::string_view::npos) start.anchor = std::string(request.substr(hash + 1));
  // Names of sub-folders are stored with "\"; a reader may type "/".
  std::string name(request.substr(0, hash));
  std::replace(name.begin(), name.end(), '/', '\\');
  start.entry = entries.Find(name);
  if (start.entry == nullptr) {
    start.entry = &indexPage;
    start.found = false;
  }
  return start;
}

}  // namespace vexmar::viewer
