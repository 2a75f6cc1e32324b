#pragma once
// vexmar-ebc inspect's verdict on the book's digest, one line.
#include <string>

#include "cli/book_reader.h"

namespace vexmar::cli {

// "matches (N entries)", "does not match: damaged X, missing Y, extra Z",
// "none ..." for a book made before digests, or why the digest itself
// cannot be read. Every entry is read piece by piece, never whole; a
// failure is a book that changed on disk since it was opened.
Result<std::string> DigestVerdict(BookReader& book);

}  // namespace vexmar::cli
