#include "build/ebook_image.h"

#include <algorithm>

#include "book/book_format.h"
#include "book/digest_entry.h"
#include "build/book_digest.h"
#include "build/reader_entries.h"
#include "platform/resources/upper_case.h"
#include "platform/text/text.h"
#include "workspace/mod_main.h"

namespace vexmar::build {
namespace {

namespace format = book_format;

// A type or name as the digest writes it: "#16" for a number, else the
// text in upper case, as the resource table stores it.
std::string DigestId(const EntryId& id) {
  if (id.number != 0) return book::NumberedId(static_cast<unsigned>(id.number));
  return text::Utf16ToUtf8(resources::UpperCaseName(text::Utf8ToUtf16(id.text)));
}

const EntryId& SettingsType() {
  static const EntryId type = EntryId::Text(format::kSettingsType);
  return type;
}

// Every file entry in one update and one commit: the book is rewritten
// once, not once per file, and a file that cannot go in stops the build.
// The digest of the settings record, of the reader's entries and of every
// file goes into the same commit, each file hashed as the commit writes it,
// so it is read once and the digest is of the very bytes the book holds; the
// digest's own bytes are written last, into the place set aside for them. A
// failure names the source file it came from, or else the book.
AssemblyResult WriteFileEntries(fs::FileSystem& files, ResourceUpdates& resources,
                                const std::string& book, const AssemblyInputs& in,
                                const std::vector<BookEntry>& reader, BookDigest& digest) {
  const std::vector<BookFile>& entries = in.files;
  auto fail = [](const std::string& file, const Error& error) {
    return AssemblyResult(Outcome::FileFailed, error, file);
  };
  auto bookFailed = [](const Error& error) { return AssemblyResult(Outcome::BookFailed, error); };
  for (const BookFile& entry : entries) {
    const Status readable = files.CheckReadable(entry.path);
    if (!readable) return fail(entry.path, readable.error());
  }
  auto update = resources.Begin(book);
  if (!update) return bookFailed(update.error());
  for (const int replaced : in.replacedTypes) {
    const Status removed = update.value()->RemoveType(EntryId::Number(replaced));
    if (!removed) return bookFailed(removed.error());
  }
  for (const std::vector<BookEntry>* group : {&in.entries, &reader}) {
    for (const BookEntry& added : *group) {
      const Status written =
          update.value()->Update(added.type, added.name, added.language, added.data);
      if (!written) return bookFailed(written.error());
      if (added.digested) digest.Add(DigestId(added.type), DigestId(added.name), added.data);
    }
  }
  const EntryId type = EntryId::Number(format::kFileType);
  const std::string digestType = DigestId(type);
  for (const BookFile& entry : entries) {
    const std::string name = StoredEntryName(entry.entryText);
    const Status written = update.value()->UpdateFromFile(
        type, EntryId::Text(name), format::kLanguage, entry.path, digest.Watch(digestType, name));
    if (!written) return fail(entry.path, written.error());
  }
  const Status digested = update.value()->UpdateLate(
      EntryId::Text(format::kDigestType), EntryId::Text(format::kDigestName), format::kLanguage,
      digest.EntrySize(), [&digest] { return digest.Entry(); });
  if (!digested) return bookFailed(digested.error());
  const Status committed = update.value()->Commit();
  if (committed) return AssemblyResult::Done();
  for (const BookFile& entry : entries) {
    if (entry.path == committed.error().file) return fail(entry.path, committed.error());
  }
  return bookFailed(committed.error());
}

// The partial book's name is the program's own business: a reason that
// mentions it speaks of the book, and one that only says the book was left
// as it was says no more than the message around it.
Error AboutTheBook(Error error, const std::string& partial, const std::string& book) {
  const std::string unchanged = partial + " was left unchanged: ";
  if (error.reason.compare(0, unchanged.size(), unchanged) == 0) {
    error.reason.erase(0, unchanged.size());
  }
  for (auto at = error.reason.find(partial); at != std::string::npos;
       at = error.reason.find(partial, at + book.size())) {
    error.reason.replace(at, partial.size(), book);
  }
  return error;
}

}  // namespace

std::string SettingsRecord(const BookSettings& s) {
  const std::string sep(1, format::kSeparator);
  const std::string blank = format::kReservedValue;
  return s.title + sep + s.author + sep + s.indexPage + sep + s.buildDate + sep + s.linkText + sep +
         s.linkAddress + sep + blank + sep + blank + sep + blank;
}

std::string StoredEntryName(const std::string& entryText) {
  std::string windowsName = entryText;
  std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
  return text::Utf16ToUtf8(resources::UpperCaseName(text::Utf8ToUtf16(windowsName)));
}

Status WriteSettingsResource(ResourceUpdates& resources, const std::string& path,
                             const std::string& record) {
  auto update = resources.Begin(path);
  if (!update) return update.error();
  const Status written =
      update.value()->Update(SettingsType(), EntryId::Number(format::kSettingsId),
                             format::kLanguage, text::ToAnsiOrMarkedUtf8(record));
  if (!written) return written;
  return update.value()->Commit();
}

AssemblyResult AssembleEbook(fs::FileSystem& files, ResourceUpdates& resources,
                             const AssemblyInputs& in) {
  if (!workspace::FileExists(files, in.stubPath)) {
    return {Outcome::StubMissing, Fail(in.stubPath + " does not exist", ErrorKind::NotFound)};
  }
  // The book is made under a temporary name beside the output and renamed
  // over it only when whole.
  const Result<std::string> partial = files.CopyToTemporary(in.stubPath, in.outputPath);
  if (!partial) return {Outcome::Unexpected, partial.error()};
  const std::string& book = partial.value();
  AssemblyResult result = AssemblyResult::Done();
  const std::string record = SettingsRecord(in.settings);
  const Status settings = WriteSettingsResource(resources, book, record);
  if (!settings) result = {Outcome::SettingsFailed, settings.error()};
  // The reader's entries are made from the pages as they are now, which
  // are the bytes the commit below puts in the book.
  std::vector<BookEntry> reader;
  if (result.outcome == Outcome::Done && in.readerEntries) {
    Result<std::vector<BookEntry>> made = ReaderEntries(files, in.files, in.settings.indexPage);
    if (made) {
      reader = std::move(made).value();
    } else {
      result = {Outcome::FileFailed, made.error(), made.error().file};
    }
  }
  if (result.outcome == Outcome::Done) {
    BookDigest digest;
    digest.Add(format::kSettingsType, book::NumberedId(format::kSettingsId),
               text::ToAnsiOrMarkedUtf8(record));
    result = WriteFileEntries(files, resources, book, in, reader, digest);
  }
  if (result.outcome == Outcome::Done) {
    const Status renamed = files.Rename(book, in.outputPath);
    if (!renamed) result = {Outcome::Unexpected, renamed.error()};
  }
  if (result.outcome != Outcome::Done) {
    IgnoreFailure(files.Delete(book));
    result.error = AboutTheBook(result.error, book, in.outputPath);
  }
  return result;
}

}  // namespace vexmar::build
