#include "cli/reader_lines.h"

#include <optional>

#include "book/book_format.h"
#include "book/contents_entry.h"
#include "book/search_index.h"

namespace vexmar::cli {
namespace {

namespace format = book_format;

constexpr char kNone[] = "none (the book was made before books carried one)";

Result<std::optional<BookFile>> FindReaderEntry(BookReader& book, const char* name) {
  std::optional<BookFile> found;
  const Status walked = book.ForEachEntry([&](const TableEntry& entry) {
    if (entry.type == format::kVexmarType && entry.name == name &&
        entry.language == format::kLanguage) {
      found = entry.bytes;
    }
    return Status{};
  });
  if (!walked) return walked.error();
  return found;
}

std::string Pages(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " page" : " pages");
}

}  // namespace

Result<std::string> ContentsLine(BookReader& book) {
  const Result<std::optional<BookFile>> found = FindReaderEntry(book, format::kContentsName);
  if (!found) return found.error();
  if (!found.value()) return std::string(kNone);
  if (found.value()->size > book::kMaxContentsBytes) {
    return "damaged: the contents are " + std::to_string(found.value()->size) +
           " bytes long, far too long";
  }
  const Result<std::string> bytes = book.ReadWhole(*found.value());
  if (!bytes) return bytes.error();
  const Result<std::vector<book::ContentsPage>> pages = book::ReadContentsEntry(bytes.value());
  if (!pages) return "damaged: " + pages.error().reason;
  return Pages(pages.value().size());
}

Result<std::string> SearchLine(BookReader& book) {
  const Result<std::optional<BookFile>> found = FindReaderEntry(book, format::kSearchName);
  if (!found) return found.error();
  if (!found.value()) return std::string(kNone);
  // Only the header is read: an index is a share of the pages' text, which
  // may be far more than inspect's memory should hold.
  std::string header;
  const std::unique_ptr<fs::ContentSource> content = book.Content(*found.value());
  while (header.size() < book::kSearchIndexHeaderBytes) {
    const Result<std::string_view> piece = content->Next();
    if (!piece) return piece.error();
    if (piece.value().empty()) break;
    header.append(piece.value().substr(0, book::kSearchIndexHeaderBytes - header.size()));
  }
  const Result<std::uint32_t> pages = book::SearchIndexPages(header, found.value()->size);
  if (!pages) return "damaged: " + pages.error().reason;
  return Pages(pages.value()) + ", " + std::to_string(found.value()->size) + " bytes";
}

}  // namespace vexmar::cli
