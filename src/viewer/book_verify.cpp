#include "viewer/book_verify.h"

#include "book/book_format.h"

namespace vexmar::viewer {
namespace {

namespace format = book_format;

book::Sha256Digest HashOf(const uint8_t* data, size_t size) {
  book::Sha256 hasher;
  hasher.Update(data, size);
  return hasher.Finish();
}

const std::string& FileType() {
  static const std::string type = book::NumberedId(format::kFileType);
  return type;
}

bool IsRecord(const book::DigestedEntry& entry) {
  return entry.type == format::kSettingsType && entry.name == book::NumberedId(format::kSettingsId);
}

}  // namespace

EntryVerifier::EntryVerifier(const BookImage& image)
    : image_(image), verdicts_(image.entries.entries().size(), 0) {
  if (!image.digest) return;
  book::DigestReading reading = book::ParseDigestEntry(*image.digest);
  if (reading.state == book::DigestState::kReadable) check_.emplace(std::move(reading.entries));
}

bool EntryVerifier::Intact(const BookEntry& entry) {
  if (!check_) return true;
  const size_t at = static_cast<size_t>(&entry - image_.entries.entries().data());
  if (at >= verdicts_.size()) return true;
  if (verdicts_[at] == 0) {
    const book::DigestedEntry* digested = check_->Find(FileType(), entry.name);
    const bool intact = digested == nullptr || digested->sha256 == HashOf(entry.data, entry.size);
    verdicts_[at] = intact ? 1 : -1;
  }
  return verdicts_[at] > 0;
}

VerifyReport VerifyBook(const BookImage& image, const OtherEntryLookup& findOther) {
  VerifyReport report;
  if (!image.digest) {
    report.lines.push_back("unverified");
    return report;
  }
  book::DigestReading reading = book::ParseDigestEntry(*image.digest);
  if (reading.state == book::DigestState::kNewer) {
    report.lines.push_back("unverified");
    return report;
  }
  if (reading.state == book::DigestState::kDamaged) {
    report.lines.push_back(std::string("damaged ") + format::kDigestName);
    report.lines.push_back("damaged");
    report.whole = false;
    return report;
  }
  book::DigestCheck check(std::move(reading.entries));
  auto note = [&](const char* what, const std::string& name) {
    report.lines.push_back(what + (" " + name));
    report.whole = false;
  };
  // Entries whose data lies outside the image could not be read at all.
  for (const std::string& unreadable : image.damaged) note("damaged", unreadable);
  for (const BookEntry& entry : image.entries.entries()) {
    switch (check.Check(FileType(), entry.name, HashOf(entry.data, entry.size))) {
      case book::DigestCheck::Verdict::kIntact:
        break;
      case book::DigestCheck::Verdict::kDamaged:
        note("damaged", entry.name);
        break;
      case book::DigestCheck::Verdict::kUnknown:
        note("extra", entry.name);
        break;
    }
  }
  for (const book::DigestedEntry* left : check.Unchecked()) {
    std::optional<std::string_view> bytes;
    if (IsRecord(*left)) {
      bytes = image.record;
    } else if (left->type != FileType()) {
      bytes = findOther.find == nullptr ? std::nullopt
                                        : findOther.find(findOther.context, left->type, left->name);
    }
    const std::string name = IsRecord(*left) ? left->type + " " + left->name : left->name;
    if (!bytes) {
      // An entry the loader could not read is reported damaged above.
      bool reported = false;
      for (const std::string& unreadable : image.damaged) {
        reported = reported || unreadable.compare(0, name.size() + 2, name + " (") == 0;
      }
      if (!reported) note("missing", name);
    } else if (book::Sha256Of(*bytes) != left->sha256) {
      note("damaged", name);
    }
  }
  report.lines.push_back(report.whole ? "ok " + std::to_string(check.size()) + " entries"
                                      : "damaged");
  return report;
}

}  // namespace vexmar::viewer
