#include "build/ebook_image.h"

#include <algorithm>

#include "book/book_format.h"
#include "platform/resources/upper_case.h"
#include "platform/text/text.h"
#include "workspace/mod_main.h"

namespace vexmar::build {
namespace {

namespace format = book_format;

const EntryId& SettingsType() {
  static const EntryId type = EntryId::Text(format::kSettingsType);
  return type;
}

// The book is assembled under this name and renamed when it is whole.
std::string TemporaryBookPath(const std::string& outputPath) {
  return outputPath + ".partial";
}

// Every file entry in one update and one commit: the book is rewritten
// once, not once per file, and a file that cannot go in stops the build.
AssemblyResult WriteFileEntries(fs::FileSystem& files, ResourceUpdates& resources,
                                const std::string& book, const std::vector<BookFile>& entries) {
  auto fail = [](const std::string& file, const Error& error) {
    return AssemblyResult(Outcome::FileFailed, error, file);
  };
  for (const BookFile& entry : entries) {
    const Status readable = files.CheckReadable(entry.path);
    if (!readable) return fail(entry.path, readable.error());
  }
  auto update = resources.Begin(book);
  if (!update) return fail(book, update.error());
  const EntryId type = EntryId::Number(format::kFileType);
  for (const BookFile& entry : entries) {
    const Status written = update.value()->UpdateFromFile(
        type, EntryId::Text(StoredEntryName(entry.entryText)), format::kLanguage, entry.path);
    if (!written) return fail(entry.path, written.error());
  }
  const Status committed = update.value()->Commit();
  if (!committed) return fail(book, committed.error());
  return AssemblyResult::Done();
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
  const std::string throughCodePage = text::AnsiToUtf8(text::Utf8ToAnsi(windowsName));
  return text::Utf16ToUtf8(resources::UpperCaseName(text::Utf8ToUtf16(throughCodePage)));
}

Status WriteSettingsResource(ResourceUpdates& resources, const std::string& path,
                             const std::string& record) {
  auto update = resources.Begin(path);
  if (!update) return update.error();
  const Status written =
      update.value()->Update(SettingsType(), EntryId::Number(format::kSettingsId),
                             format::kLanguage, text::Utf8ToAnsi(record));
  if (!written) return written;
  return update.value()->Commit();
}

AssemblyResult AssembleEbook(fs::FileSystem& files, ResourceUpdates& resources,
                             const AssemblyInputs& in) {
  if (!workspace::FileExists(files, in.stubPath)) {
    return {Outcome::StubMissing, Fail(in.stubPath + " does not exist", ErrorKind::NotFound)};
  }
  const std::string book = TemporaryBookPath(in.outputPath);
  const Status copied = files.Copy(in.stubPath, book);
  if (!copied) {
    IgnoreFailure(files.Delete(book));
    return {Outcome::Unexpected, copied.error()};
  }
  const Status settings = WriteSettingsResource(resources, book, SettingsRecord(in.settings));
  if (!settings) {
    IgnoreFailure(files.Delete(book));
    return {Outcome::SettingsFailed, settings.error()};
  }
  AssemblyResult result = WriteFileEntries(files, resources, book, in.files);
  if (result.outcome == Outcome::Done) {
    const Status renamed = files.Rename(book, in.outputPath);
    if (!renamed) result = {Outcome::Unexpected, renamed.error()};
  }
  if (result.outcome != Outcome::Done) IgnoreFailure(files.Delete(book));
  return result;
}

}  // namespace vexmar::build
