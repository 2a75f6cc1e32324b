#pragma once
// An e-book read back from its resource table, the way the viewer finds it:
// the settings record at once, the files one at a time, so that the memory
// used stays small whatever the book holds or claims to hold.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "book/book_record.h"
#include "platform/fs/file_system.h"
#include "platform/resources/byte_io.h"
#include "platform/resources/pe_image.h"
#include "platform/result.h"

namespace vexmar::cli {

struct BookFile {
  std::string name;     // as stored: the upper-cased file name
  uint32_t size = 0;    // of its bytes
  uint64_t offset = 0;  // where they lie in the book
};

// Any entry of the resource table, its type and name written as the book's
// digest writes them: "#" and a number, or the name.
struct TableEntry {
  std::string type;
  std::string name;
  uint16_t language = 0;
  BookFile bytes;  // named by `name`
};

class BookReader {
 public:
  // Fails with a reason a person can read when the file is no PE file, has
  // no settings record, its record is malformed, or two of its files share
  // bytes: a build writes every file apart, and shared bytes would let a
  // small crafted book claim gigabytes.
  static Result<BookReader> Open(const std::string& path);

  const book::BookRecord& record() const { return record_; }
  std::size_t fileCount() const { return fileCount_; }

  // Every file, in the table's order; a failure `visit` returns ends the walk.
  Status ForEachFile(const std::function<Status(const BookFile&)>& visit);
  // Every entry of the table, in the table's order.
  Status ForEachEntry(const std::function<Status(const TableEntry&)>& visit);
  // A file's bytes, read from the book piece by piece.
  std::unique_ptr<fs::ContentSource> Content(const BookFile& file);
  // An entry's bytes, all of them: for entries whose size was bounded first.
  Result<std::string> ReadWhole(const BookFile& file);

 private:
  // Where one file's bytes lie; `index` counts the files in table order.
  struct FileSpan {
    uint64_t offset;
    uint64_t end;
    std::size_t index;
  };

  BookReader() = default;
  Status CheckFilesApart(std::vector<FileSpan> spans);

  std::unique_ptr<resources::FileSource> source_;
  resources::PeImage image_;
  book::BookRecord record_;
  std::size_t fileCount_ = 0;
};

}  // namespace vexmar::cli
