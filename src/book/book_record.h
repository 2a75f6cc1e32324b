#pragma once
// The settings record of an e-book (layout in book_format.h), read without
// trusting a byte of it.
#include <array>
#include <string>
#include <string_view>

#include "book/ansi_decoder.h"
#include "book/book_format.h"
#include "platform/result.h"

namespace vexmar::book {

// All nine fields in UTF-8, in record order (positions in book_format.h).
struct BookRecord {
  std::array<std::string, book_format::kFieldCount> fields;

  const std::string& title() const { return fields[book_format::kTitle]; }
  const std::string& author() const { return fields[book_format::kAuthor]; }
  const std::string& index_page() const { return fields[book_format::kIndexPage]; }
  const std::string& build_date() const { return fields[book_format::kBuildDate]; }
  const std::string& link_text() const { return fields[book_format::kLinkText]; }
  const std::string& link_address() const { return fields[book_format::kLinkAddress]; }
};

// Splits the record's bytes into its fields and converts them to UTF-8: by
// `decode` when they are ANSI text, as they are when they do not start with
// the UTF-8 mark.
// Refuses an empty or oversized record, a zero byte inside it, a field count
// other than nine and an empty index page, each with a message that says so.
Result<BookRecord> ParseBookRecord(std::string_view ansi_bytes, AnsiDecoder decode);

// The title the window and the About box show; a record may leave it empty.
std::string DisplayTitle(const BookRecord& record);

}  // namespace vexmar::book
