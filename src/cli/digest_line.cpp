#include "cli/digest_line.h"

#include <optional>

#include "book/book_format.h"
#include "book/digest_entry.h"

namespace vexmar::cli {
namespace {

namespace format = book_format;

Result<book::Sha256Digest> HashOf(BookReader& book, const BookFile& bytes) {
  book::Sha256 hasher;
  const std::unique_ptr<fs::ContentSource> content = book.Content(bytes);
  for (;;) {
    const Result<std::string_view> piece = content->Next();
    if (!piece) return piece.error();
    if (piece.value().empty()) return hasher.Finish();
    hasher.Update(piece.value());
  }
}

// Where the digest entry lies; nothing in a book made before digests.
Result<std::optional<BookFile>> FindDigest(BookReader& book) {
  std::optional<BookFile> found;
  const Status walked = book.ForEachEntry([&](const TableEntry& entry) {
    if (entry.type == format::kDigestType && entry.name == format::kDigestName &&
        entry.language == format::kLanguage) {
      found = entry.bytes;
    }
    return Status{};
  });
  if (!walked) return walked.error();
  return found;
}

}  // namespace

Result<std::string> DigestVerdict(BookReader& book) {
  const Result<std::optional<BookFile>> found = FindDigest(book);
  if (!found) return found.error();
  if (!found.value()) return std::string("none (the book was made before books carried one)");
  // Bounded before it is read.
  if (found.value()->size > format::kMaxDigestBytes) {
    return "damaged: the digest is " + std::to_string(found.value()->size) +
           " bytes long, far too long";
  }
  const Result<std::string> bytes = book.ReadWhole(*found.value());
  if (!bytes) return bytes.error();
  book::DigestReading reading = book::ParseDigestEntry(bytes.value());
  if (reading.state != book::DigestState::kReadable) {
    return (reading.state == book::DigestState::kNewer ? "unverified: " : "damaged: ") +
           reading.reason;
  }
  book::DigestCheck check(std::move(reading.entries));
  const std::string fileType = book::NumberedId(format::kFileType);
  std::string faults;
  auto note = [&](const char* what, const std::string& type, const std::string& name) {
    faults += (faults.empty() ? "" : ", ") + std::string(what) + " " +
              (type == fileType ? name : type + " " + name);
  };
  const Status walked = book.ForEachEntry([&](const TableEntry& entry) {
    const bool named = check.Find(entry.type, entry.name) != nullptr;
    if (!named || entry.language != format::kLanguage) {
      if (entry.type == fileType) note("extra", entry.type, entry.name);
      return Status{};
    }
    const Result<book::Sha256Digest> hash = HashOf(book, entry.bytes);
    if (!hash) return Status{hash.error()};
    if (check.Check(entry.type, entry.name, hash.value()) != book::DigestCheck::Verdict::kIntact) {
      note("damaged", entry.type, entry.name);
    }
    return Status{};
  });
  if (!walked) return walked.error();
  for (const book::DigestedEntry* left : check.Unchecked()) note("missing", left->type, left->name);
  if (faults.empty()) return "matches (" + std::to_string(check.size()) + " entries)";
  return "does not match: " + faults;
}

}  // namespace vexmar::cli
