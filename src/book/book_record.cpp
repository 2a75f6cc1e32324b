#include "book/book_record.h"

#include <vector>

#include "book/book_format.h"
#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

// A record holds six short texts; anything this long is not one, and
// refusing it keeps a damaged entry from becoming a huge window title.
constexpr size_t kMaxRecordBytes = 64 * 1024;

std::vector<std::string_view> SplitFields(std::string_view record) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t end = record.find(book_format::kSeparator, start);
    if (end == std::string_view::npos) {
      fields.push_back(record.substr(start));
      return fields;
    }
    fields.push_back(record.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

Result<BookRecord> ParseBookRecord(std::string_view ansi_bytes, AnsiDecoder decode) {
  const std::string_view mark = book_format::kUtf8Mark;
  const bool utf8 = ansi_bytes.substr(0, mark.size()) == mark;
  if (utf8) ansi_bytes.remove_prefix(mark.size());
  // Resource data is often padded with zeros by the tools that write it; the
  // record itself never ends in one.
  while (!ansi_bytes.empty() && ansi_bytes.back() == '\0') {
    ansi_bytes.remove_suffix(1);
  }
  if (ansi_bytes.empty()) {
    return Error{"The settings record is empty."};
  }
  if (ansi_bytes.size() > kMaxRecordBytes) {
    return Error{"The settings record is " + std::to_string(ansi_bytes.size()) +
                 " bytes long, far too long to be one."};
  }
  if (ansi_bytes.find('\0') != std::string_view::npos) {
    return Error{"The settings record contains a zero byte, so it is not text."};
  }
  const std::vector<std::string_view> fields = SplitFields(ansi_bytes);
  if (fields.size() != book_format::kFieldCount) {
    return Error{"The settings record has " + std::to_string(fields.size()) +
                 (fields.size() == 1 ? " field" : " fields") + " instead of " +
                 std::to_string(book_format::kFieldCount) + "."};
  }
  if (fields[book_format::kIndexPage].empty()) {
    return Error{"The settings record names no index page."};
  }
  BookRecord record;
  for (size_t i = 0; i < fields.size(); ++i) {
    // Malformed UTF-8 is shown with replacement characters, never passed on.
    record.fields[i] =
        utf8 ? utf::Transcode<std::string>(fields[i], utf::AppendUtf8) : decode(fields[i]);
  }
  return record;
}

std::string DisplayTitle(const BookRecord& record) {
  return record.title().empty() ? std::string("Untitled e-book") : record.title();
}

}  // namespace vexmar::book
