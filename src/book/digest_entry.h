#pragma once
// The book's digest entry: the SHA-256 of every entry the build wrote, so a
// reader can tell a whole book from a damaged or altered one. Layout in
// docs/book-format.md; constants in book_format.h.
#include <string>
#include <string_view>
#include <vector>

#include "book/sha256.h"

namespace vexmar::book {

// One entry the digest vouches for. Type and name are written as the
// resource table holds them: "#2110" for a number, the text itself (upper
// case, UTF-8) for a name.
struct DigestedEntry {
  std::string type;
  std::string name;
  Sha256Digest sha256{};
};

// "#101" for the number 101.
std::string NumberedId(unsigned number);

// The entry's bytes for these entries, in this order.
std::string WriteDigestEntry(const std::vector<DigestedEntry>& entries);

enum class DigestState {
  kReadable,
  kNewer,    // a later layout this reader does not know: the book is unverified
  kDamaged,  // cut short or not a digest: the book cannot be vouched for
};

struct DigestReading {
  DigestState state = DigestState::kDamaged;
  std::string reason;                  // for kNewer and kDamaged
  std::vector<DigestedEntry> entries;  // kReadable: in the entry's order
};

// Reads the entry without trusting a byte of it: its size, every line's
// length and every character are checked, and a digest that names one entry
// twice or does not end with its own count is damaged.
DigestReading ParseDigestEntry(std::string_view bytes);

// Checks a book's entries against its digest, each once.
class DigestCheck {
 public:
  explicit DigestCheck(std::vector<DigestedEntry> entries);

  enum class Verdict { kIntact, kDamaged, kUnknown };
  // The verdict on one entry of the book, whose bytes hash to `actual`;
  // kUnknown when the digest does not name it.
  Verdict Check(std::string_view type, std::string_view name, const Sha256Digest& actual);
  // The digest's entries not yet checked, in the digest's order.
  std::vector<const DigestedEntry*> Unchecked() const;
  const DigestedEntry* Find(std::string_view type, std::string_view name) const;
  // An entry whose type and name an earlier one has already, if any.
  const DigestedEntry* Repeated() const;
  size_t size() const { return entries_.size(); }

 private:
  std::vector<DigestedEntry> entries_;
  std::vector<size_t> byKey_;  // indices into entries_, sorted by type and name
  std::vector<bool> checked_;
};

}  // namespace vexmar::book
