#include "build/reader_entries.h"

#include <optional>
#include <unordered_map>

#include "book/book_format.h"
#include "book/contents_entry.h"
#include "book/page_kind.h"
#include "book/page_layout.h"
#include "book/page_links.h"
#include "book/page_order.h"
#include "book/page_text.h"
#include "build/background_index.h"
#include "platform/text/text.h"
#include "platform/text/utf.h"

namespace vexmar::build {
namespace {

namespace format = book_format;

// The text of a larger page past this is left out of the index: one page in
// memory at a time must stay a page, whatever a project folder holds.
constexpr std::size_t kMaxIndexedPageBytes = 64 * 1024 * 1024;

std::string AnsiToUtf8(std::string_view ansi) {
  return text::AnsiToUtf8(ansi);
}

// A page saved in the ANSI code page writes its links in it.
std::string AsUtf8(std::string link) {
  return utf::IsValidUtf8(link) ? std::move(link) : text::AnsiToUtf8(link);
}

// The links of a web page in document order, as UTF-8. A UTF-16 page is
// read from its text, as the browser reads it.
std::vector<std::string> LinksOf(std::string_view bytes) {
  const book::PageLayout layout = book::PageLayoutOf(bytes, true);
  std::string decoded;
  if (layout.encoding == book::PageEncoding::Utf16Le ||
      layout.encoding == book::PageEncoding::Utf16Be) {
    decoded = book::Utf16PageText(bytes.substr(layout.markLength), layout.encoding);
    bytes = decoded;
  }
  std::vector<std::string> links;
  for (book::PageReference& reference : book::ScanPage(bytes).references) {
    links.push_back(AsUtf8(std::move(reference.target)));
  }
  return links;
}

class ReaderBuilder {
 public:
  ReaderBuilder(fs::FileSystem& files, const std::vector<BookFile>& checked) : files_(files) {
    for (const BookFile& file : checked) {
      if (!book::IsPageName(file.entryText)) continue;
      std::string stored = StoredEntryName(file.entryText);
      if (!byStoredName_.emplace(stored, pages_.size()).second) continue;  // listed twice
      pages_.push_back(&file);
      names_.push_back(file.entryText);
      stored_.push_back(std::move(stored));
    }
    titles_.resize(pages_.size());
    read_.assign(pages_.size(), false);
  }

  Result<std::vector<BookEntry>> Run(const std::string& indexPage) {
    const auto home = byStoredName_.find(StoredEntryName(indexPage));
    const std::size_t start = home == byStoredName_.end() ? pages_.size() : home->second;
    // Pages are read as the order reaches them, so each is read once and
    // indexed in reading order; the pages no link reaches follow.
    const std::vector<std::size_t> order = book::ReadingOrder(
        start, names_, [this](std::size_t page) { return Read(page); }, AnsiToUtf8);
    std::vector<book::ContentsPage> contents;
    contents.reserve(order.size());
    for (const std::size_t page : order) {
      if (!read_[page]) Read(page);
      if (failure_) return *failure_;
      contents.push_back({stored_[page], std::move(titles_[page])});
    }
    const EntryId vexmar = EntryId::Text(format::kVexmarType);
    return std::vector<BookEntry>{
        {vexmar, EntryId::Text(format::kContentsName), format::kLanguage,
         book::WriteContentsEntry(contents), /*digested=*/true},
        {vexmar, EntryId::Text(format::kSearchName), format::kLanguage, search_.Finish(),
         /*digested=*/true}};
  }

 private:
  // Reads, titles and indexes one page; its links, for the reading order.
  std::vector<std::string> Read(std::size_t page) {
    read_[page] = true;
    if (failure_) return {};
    std::string bytes;
    const Status read = files_.ReadInPieces(pages_[page]->path, [&](std::string_view piece) {
      bytes.append(piece.substr(0, kMaxIndexedPageBytes - bytes.size()));
    });
    if (!read) {
      failure_ = read.error();
      failure_->file = pages_[page]->path;
      return {};
    }
    const bool web = book::IsWebPageName(names_[page]);
    book::PageText text = book::ReadPageText(bytes, web, AnsiToUtf8);
    titles_[page] = book::PageTitle(text, names_[page]);
    search_.AddPage(stored_[page], std::move(text.text));
    return web ? LinksOf(bytes) : std::vector<std::string>{};
  }

  fs::FileSystem& files_;
  std::vector<const BookFile*> pages_;
  std::vector<std::string> names_;   // as listed, for links and labels
  std::vector<std::string> stored_;  // as the book stores them
  std::unordered_map<std::string, std::size_t> byStoredName_;
  std::vector<std::string> titles_;
  std::vector<bool> read_;
  BackgroundIndex search_;        // indexes each page while the next is read
  std::optional<Error> failure_;  // the first page that could not be read
};

}  // namespace

Result<std::vector<BookEntry>> ReaderEntries(fs::FileSystem& files,
                                             const std::vector<BookFile>& checked,
                                             const std::string& indexPage) {
  return ReaderBuilder(files, checked).Run(indexPage);
}

}  // namespace vexmar::build
