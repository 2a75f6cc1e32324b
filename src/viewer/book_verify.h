#pragma once
// Whether the book's entries are the bytes its build wrote, by the digest
// entry (book/digest_entry.h): page by page as the viewer serves them, and
// all at once for /verify.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/digest_entry.h"
#include "viewer/book_check.h"

namespace vexmar::viewer {

// Serves the verdict on each file entry, worked out the first time it is
// asked for, so opening a large book checks only the pages it shows.
class EntryVerifier {
 public:
  explicit EntryVerifier(const BookImage& image);
  // False when the digest names the entry and its bytes differ. A book
  // without a readable digest, or an entry the digest does not name, is
  // served as it is: /verify is where those are reported.
  bool Intact(const BookEntry& entry);

 private:
  const BookImage& image_;
  std::optional<book::DigestCheck> check_;
  std::vector<int8_t> verdicts_;  // by entry position: 0 not yet, 1 intact, -1 damaged
};

// An entry of a type other than the settings record and the files, by the
// digest's type and name ("#" and a number, or a name); nothing when the
// book has none. A plain function and its context keep the stub small.
struct OtherEntryLookup {
  std::optional<std::string_view> (*find)(const void* context, std::string_view type,
                                          std::string_view name) = nullptr;
  const void* context = nullptr;
};

struct VerifyReport {
  std::vector<std::string> lines;  // what /verify prints, the verdict last
  bool whole = true;               // false: exit code 9
};

VerifyReport VerifyBook(const BookImage& image, const OtherEntryLookup& findOther);

}  // namespace vexmar::viewer
