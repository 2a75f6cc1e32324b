#include "viewer/book_check.h"

#include "book/entry_name.h"

namespace vexmar::viewer {

const char kBareStubMessage[] =
    "This is the viewer of the Vexmar E-book Compiler.\n\n"
    "It holds no book of its own. E-books are made with the Vexmar E-book "
    "Compiler, which copies this viewer and puts the pages of a book into the copy.";

namespace {
const char kRebuild[] = "\n\nThe e-book is damaged; please ask its author for a new copy.";
}

BookCheck CheckBook(const BookImage& image, book::AnsiDecoder decode) {
  BookCheck check;
  if (!image.record) {
    if (image.entries.empty() && image.damaged.empty()) {
      check.status = BookStatus::kBareStub;
      check.message = kBareStubMessage;
    } else {
      check.status = BookStatus::kNoRecord;
      check.message =
          std::string("This e-book has no settings record (resource \"CUSTOM\" 101).") + kRebuild;
    }
    return check;
  }
  Result<book::BookRecord> record = book::ParseBookRecord(*image.record, decode);
  if (!record) {
    check.status = BookStatus::kBadRecord;
    check.message = record.error().reason + kRebuild;
    return check;
  }
  check.record = record.value();
  if (const auto reason = book::UnsafeNameReason(check.record.index_page())) {
    // Book files are bare names; anything else could point the default
    // browser at a file outside the book.
    check.status = BookStatus::kBadRecord;
    check.message = "The index page \"" + check.record.index_page() +
                    "\" named in the settings record cannot be a file of the book: " + *reason +
                    "." + kRebuild;
    return check;
  }
  check.indexPage = image.entries.Find(check.record.index_page());
  if (check.indexPage == nullptr) {
    check.status = BookStatus::kNoIndexPage;
    check.message = "The index page \"" + check.record.index_page() +
                    "\" named in the settings record is not in this e-book." + kRebuild;
  } else if (check.indexPage->size == 0) {
    // The compiler stores a file it could not read as an empty entry.
    check.status = BookStatus::kNoIndexPage;
    check.message =
        "The index page \"" + check.record.index_page() + "\" is empty in this e-book." + kRebuild;
    check.indexPage = nullptr;
  }
  return check;
}

}  // namespace vexmar::viewer
