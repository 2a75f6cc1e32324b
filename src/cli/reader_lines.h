#pragma once
// vexmar-ebc inspect's lines on the reader's entries: the contents and the
// search index the build wrote into the book.
#include <string>

#include "cli/book_reader.h"

namespace vexmar::cli {

// "N pages", "none (...)" for a book made before contents, or "damaged: ..."
Result<std::string> ContentsLine(BookReader& book);
// "N pages, M bytes", "none (...)", or "damaged: ..."; an index larger than
// inspect reads is named by its size alone.
Result<std::string> SearchLine(BookReader& book);

}  // namespace vexmar::cli
