#include "cli/book_reader.h"

#include <filesystem>

#include "book/book_format.h"
#include "platform/resources/resource_table.h"
#include "platform/text/text.h"

namespace vexmar::cli {
namespace {

namespace res = resources;
namespace format = book_format;

std::string AnsiToUtf8(std::string_view ansi) {
  return text::AnsiToUtf8(ansi);
}

Result<std::string> EntryData(res::ByteSource& file, const res::ResourceEntry& entry) {
  auto data = res::ReadEntryData(file, entry);
  if (!data) return Fail(data.error().reason);
  return std::string(data.value().begin(), data.value().end());
}

}  // namespace

Result<BookContents> ReadBook(const std::string& path) {
  auto source = res::FileSource::Open(std::filesystem::u8path(path));
  if (!source) return Fail(source.error().reason);
  auto file = res::ReadResourceFile(*source.value());
  if (!file) return Fail(file.error().reason);
  const res::ResourceTable& table = file.value().table;

  const auto type = res::ResourceId::FromUtf8(format::kSettingsType);
  const auto id = res::ResourceId::Number(format::kSettingsId);
  const auto found = table.Find(type.value(), id.value(), format::kLanguage);
  if (!found) return Fail("it has no settings record");
  const Result<std::string> recordBytes = EntryData(*source.value(), found.value());
  if (!recordBytes) return recordBytes.error();
  auto record = book::ParseBookRecord(recordBytes.value(), &AnsiToUtf8);
  if (!record) return record.error();

  BookContents book{record.value(), {}};
  for (const res::ResourceEntry& entry : table.entries()) {
    if (!entry.type.is_number() || entry.type.number() != format::kFileType) continue;
    const std::string name = entry.name.is_number() ? "#" + std::to_string(entry.name.number())
                                                    : text::Utf16ToUtf8(entry.name.name());
    Result<std::string> data = EntryData(*source.value(), entry);
    if (!data) return Fail(name + ": " + data.error().reason);
    book.files.push_back({name, std::move(data).value()});
  }
  return book;
}

}  // namespace vexmar::cli
