#pragma once
// Whether what the stub found in its own resources is a book it can show,
// and if not, what to tell the reader.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/ansi_decoder.h"
#include "book/book_record.h"
#include "viewer/entry_index.h"

namespace vexmar::viewer {

// What the stub found: the settings record's bytes (nothing when there is no
// settings entry) and the file entries whose data lies inside the image.
struct BookImage {
  std::optional<std::string_view> record;
  EntryIndex entries;
  // Entries left out because their data does not lie inside the image.
  std::vector<std::string> damaged;
  // The digest entry's bytes (book/digest_entry.h); nothing in older books.
  std::optional<std::string_view> digest;
};

enum class BookStatus {
  kReadable,
  kBareStub,  // no settings and no files: the stub itself, started by hand
  kNoRecord,
  kBadRecord,
  kNoIndexPage,
};

struct BookCheck {
  BookStatus status = BookStatus::kReadable;
  std::string message;                   // for every status but kReadable
  book::BookRecord record;               // when the record could be read
  const BookEntry* indexPage = nullptr;  // when kReadable
};

BookCheck CheckBook(const BookImage& image, book::AnsiDecoder decode);

// What the bare stub tells a reader who starts it by hand.
extern const char kBareStubMessage[];

}  // namespace vexmar::viewer
