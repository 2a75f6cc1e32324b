#pragma once
// An e-book read back from its resource table, the way the viewer finds it:
// the settings record and the file entries.
#include <string>
#include <vector>

#include "book/book_record.h"
#include "platform/result.h"

namespace vexmar::cli {

struct BookFileEntry {
  std::string name;  // as stored: the upper-cased file name
  std::string data;
};

struct BookContents {
  book::BookRecord record;
  std::vector<BookFileEntry> files;  // in the table's order
};

// Fails with a reason a person can read when the file is no PE file, has no
// settings record, or its record is malformed.
Result<BookContents> ReadBook(const std::string& path);

}  // namespace vexmar::cli
