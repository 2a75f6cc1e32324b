#include "cli/book_reader.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "book/book_format.h"
#include "platform/resources/resource_table.h"
#include "platform/text/text.h"

namespace vexmar::cli {
namespace {

namespace res = resources;
namespace format = book_format;

// Far above any record a build writes (its nine fields are single lines),
// and small enough to hold; the parser refuses anything above 64 KiB anyway.
constexpr uint32_t kMaxRecordEntryBytes = 1024 * 1024;
// The pieces a file's bytes are copied in.
constexpr std::size_t kPieceBytes = 256 * 1024;

std::string AnsiToUtf8(std::string_view ansi) {
  return text::AnsiToUtf8(ansi);
}

bool IsFileEntry(const res::ResourceEntry& entry) {
  return entry.type.is_number() && entry.type.number() == format::kFileType;
}

std::string IdText(const res::ResourceId& id) {
  return id.is_number() ? "#" + std::to_string(id.number()) : text::Utf16ToUtf8(id.name());
}

std::string EntryName(const res::ResourceEntry& entry) {
  return IdText(entry.name);
}

// How well an entry fits the settings record's key, as the loader's lookup
// ranks languages: US English, then neutral English, then neutral; -1 when
// it is no record.
int RecordRank(const res::ResourceEntry& entry) {
  static const std::u16string kType(format::kSettingsType,
                                    format::kSettingsType + sizeof format::kSettingsType - 1);
  if (entry.type.is_number() || entry.type.name() != kType) return -1;
  if (!entry.name.is_number() || entry.name.number() != format::kSettingsId) return -1;
  const uint16_t wanted[] = {format::kLanguage, format::kLanguage & 0x3FF, 0};
  const auto at = std::find(std::begin(wanted), std::end(wanted), entry.language);
  return at == std::end(wanted) ? -1 : static_cast<int>(at - std::begin(wanted));
}

class EntryContent final : public fs::ContentSource {
 public:
  EntryContent(res::ByteSource& source, const BookFile& file)
      : source_(source), next_(file.offset), left_(file.size) {}

  Result<std::string_view> Next() override {
    const auto length = static_cast<std::size_t>(std::min<uint64_t>(left_, kPieceBytes));
    if (length == 0) return std::string_view();
    piece_.resize(length);
    if (Status read = source_.Read(next_, piece_.data(), length); !read) return read.error();
    next_ += length;
    left_ -= length;
    return std::string_view(piece_.data(), length);
  }

 private:
  res::ByteSource& source_;
  uint64_t next_;
  uint64_t left_;
  std::string piece_;
};

}  // namespace

Result<BookReader> BookReader::Open(const std::string& path) {
  BookReader reader;
  auto source = res::FileSource::Open(std::filesystem::u8path(path));
  if (!source) return Fail(source.error().reason);
  reader.source_ = std::move(source).value();
  auto image = res::ReadPeImage(*reader.source_);
  if (!image) return Fail(image.error().reason);
  reader.image_ = std::move(image).value();

  std::optional<res::ResourceEntry> record;
  int recordRank = -1;
  std::optional<std::string> beyondTheEnd;  // the first file whose bytes lie past the file's end
  std::vector<FileSpan> spans;
  const Status walked = res::WalkResourceEntries(
      *reader.source_, reader.image_, [&](const res::ResourceEntry& entry) {
        if (IsFileEntry(entry)) {
          const uint64_t end = entry.fileOffset + entry.size;
          if (end > reader.source_->size() && !beyondTheEnd) beyondTheEnd = EntryName(entry);
          if (entry.size > 0) spans.push_back({entry.fileOffset, end, reader.fileCount_});
          ++reader.fileCount_;
        }
        const int rank = RecordRank(entry);
        if (rank >= 0 && (recordRank < 0 || rank < recordRank)) {
          recordRank = rank;
          record = entry;
        }
        return Status{};
      });
  if (!walked) return Fail(walked.error().reason);
  if (!record) return Fail("it has no settings record");
  if (record->size > kMaxRecordEntryBytes) {
    return Fail("The settings record is " + std::to_string(record->size) +
                " bytes long, far too long to be one.");
  }
  auto recordBytes = res::ReadBytes(*reader.source_, record->fileOffset, record->size);
  if (!recordBytes) return Fail(recordBytes.error().reason);
  const std::string ansi(recordBytes.value().begin(), recordBytes.value().end());
  auto parsed = book::ParseBookRecord(ansi, &AnsiToUtf8);
  if (!parsed) return parsed.error();
  reader.record_ = std::move(parsed).value();
  if (beyondTheEnd) return Fail(*beyondTheEnd + ": a read past the end of the file was refused");
  if (Status apart = reader.CheckFilesApart(std::move(spans)); !apart) return apart.error();
  return Result<BookReader>(std::move(reader));
}

Status BookReader::CheckFilesApart(std::vector<FileSpan> spans) {
  // Spans that begin together stay in table order, so the first file named
  // is the one listed first.
  std::sort(spans.begin(), spans.end(), [](const FileSpan& a, const FileSpan& b) {
    return a.offset != b.offset ? a.offset < b.offset : a.index < b.index;
  });
  // The span reaching furthest so far; the next one must begin at or after its end.
  const FileSpan* furthest = nullptr;
  for (const FileSpan& span : spans) {
    if (furthest != nullptr && span.offset < furthest->end) {
      std::string names[2];
      std::size_t index = 0;
      const Status walked = ForEachFile([&](const BookFile& file) {
        if (index == furthest->index) names[0] = file.name;
        if (index == span.index) names[1] = file.name;
        ++index;
        return Status{};
      });
      if (!walked) return walked;
      return Fail("its files " + names[0] + " and " + names[1] +
                  " share bytes, which no book built by this program does");
    }
    if (furthest == nullptr || span.end > furthest->end) furthest = &span;
  }
  return {};
}

Status BookReader::ForEachFile(const std::function<Status(const BookFile&)>& visit) {
  return res::WalkResourceEntries(*source_, image_, [&](const res::ResourceEntry& entry) {
    if (!IsFileEntry(entry)) return Status{};
    return visit(BookFile{EntryName(entry), entry.size, entry.fileOffset});
  });
}

Status BookReader::ForEachEntry(const std::function<Status(const TableEntry&)>& visit) {
  return res::WalkResourceEntries(*source_, image_, [&](const res::ResourceEntry& entry) {
    const std::string name = EntryName(entry);
    return visit(TableEntry{IdText(entry.type), name, entry.language,
                            BookFile{name, entry.size, entry.fileOffset}});
  });
}

std::unique_ptr<fs::ContentSource> BookReader::Content(const BookFile& file) {
  return std::make_unique<EntryContent>(*source_, file);
}

Result<std::string> BookReader::ReadWhole(const BookFile& file) {
  std::string bytes;
  const std::unique_ptr<fs::ContentSource> content = Content(file);
  for (;;) {
    const Result<std::string_view> piece = content->Next();
    if (!piece) return piece.error();
    if (piece.value().empty()) return bytes;
    bytes += piece.value();
  }
}

}  // namespace vexmar::cli
