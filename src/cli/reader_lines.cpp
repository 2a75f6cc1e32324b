#include "cli/reader_lines.h"

#include <optional>

#include "book/book_format.h"
#include "book/contents_entry.h"
#include "book/search_index.h"

namespace vexmar::cli {
namespace {

namespace format = book_format;

constexpr char kNone[] = "none (the book was made before books carried one)";
// The index is read whole to be checked, which inspect does only up to
// this size; a book's index is a share of its pages' text.
constexpr std::size_t kMaxSearchBytes = 512 * 1024 * 1024;

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
  const std::string size = std::to_string(found.value()->size) + " bytes";
  if (found.value()->size > kMaxSearchBytes) return size + ", too large to be checked here";
  const Result<std::string> bytes = book.ReadWhole(*found.value());
  if (!bytes) return bytes.error();
  const Result<book::SearchIndex> index = book::SearchIndex::Open(bytes.value());
  if (!index) return "damaged: " + index.error().reason;
  return Pages(index.value().pageCount()) + ", " + size;
}

}  // namespace vexmar::cli
