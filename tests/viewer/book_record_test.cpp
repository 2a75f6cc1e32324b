#include "book/book_record.h"

#include <gtest/gtest.h>

#include "viewer/book_check.h"
#include "viewer/latin1_decoder.h"

namespace vexmar::viewer {
namespace {

using testing::Latin1ToUtf8;
using Fields = std::array<std::string, 9>;

TEST(BookRecord, SplitsTheNineFieldsAsWritten) {
  const std::pair<std::string, Fields> cases[] = {
      {"Garden Notes:A. Reader:index.htm:3/14/2026:More notes::blank:blank:blank",
       {"Garden Notes", "A. Reader", "index.htm", "3/14/2026", "More notes", "", "blank", "blank",
        "blank"}},
      // Fields are never trimmed; "\xE9" is "é" in the ANSI code page.
      {" Caf\xE9 :  :Index.Htm:14.03.26:::blank:blank:blank",
       {" Caf\xC3\xA9 ", "  ", "Index.Htm", "14.03.26", "", "", "blank", "blank", "blank"}},
      // Trailing zero padding is not part of the record.
      {std::string("T:A:i.htm:d:::blank:blank:blank\0\0\0", 34),
       {"T", "A", "i.htm", "d", "", "", "blank", "blank", "blank"}},
  };
  for (const auto& [bytes, fields] : cases) {
    SCOPED_TRACE(bytes);
    const Result<book::BookRecord> record = book::ParseBookRecord(bytes, Latin1ToUtf8);
    ASSERT_TRUE(record.ok()) << record.error().reason;
    EXPECT_EQ(record->fields, fields);
    EXPECT_EQ(record->index_page(), fields[2]);
  }
}

TEST(BookRecord, RefusesMalformedRecordsSayingWhy) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "is empty"},
      {std::string(4, '\0'), "is empty"},
      {"T:A:i.htm:d:::blank:blank", "has 8 fields instead of 9"},
      {"just a title", "has 1 field instead of 9"},
      {"T:x:A:i.htm:d:::blank:blank:blank", "has 10 fields instead of 9"},  // a colon in a title
      {std::string("T:A\0:i.htm:d:::blank:blank:blank", 32), "zero byte"},
      {"T:A::d:::blank:blank:blank", "names no index page"},
      {std::string(70000, 'x') + ":A:i.htm:d:::blank:blank:blank", "too long"},
  };
  for (const auto& [bytes, message_part] : cases) {
    SCOPED_TRACE(message_part);
    const Result<book::BookRecord> record = book::ParseBookRecord(bytes, Latin1ToUtf8);
    ASSERT_FALSE(record.ok());
    EXPECT_NE(record.error().reason.find(message_part), std::string::npos) << record.error().reason;
  }
}

TEST(BookCheck, FindsTheIndexPageOrSaysWhyTheBookCannotBeShown) {
  const auto record = [](const char* index) {
    return std::string("T:A:") + index + ":d:::blank:blank:blank";
  };
  struct Case {
    const char* entry;  // with the data "<p>", or none when "EMPTY.HTM"; "": no entry
    std::optional<std::string> record;
    BookStatus status;
    const char* message_part;
  };
  const Case cases[] = {
      {"", std::nullopt, BookStatus::kBareStub, "viewer of the Vexmar E-book Compiler"},
      {"INDEX.HTM", std::nullopt, BookStatus::kNoRecord, ""},
      {"CHAPTER 1.HTML", record("Chapter 1.html"), BookStatus::kReadable, ""},
      {"EMPTY.HTM", record("gone.htm"), BookStatus::kNoIndexPage, "gone.htm"},
      {"EMPTY.HTM", record("empty.htm"), BookStatus::kNoIndexPage, "empty.htm"},
      // An index page outside the book is refused even when an entry matches.
      {"..\\OUTSIDE.HTM", record("..\\outside.htm"), BookStatus::kBadRecord, "cannot be a file"},
      {"SUB\\PAGE.HTM", record("sub\\page.htm"), BookStatus::kBadRecord, "cannot be a file"},
      {"NUL.HTM", record("nul.htm"), BookStatus::kBadRecord, "cannot be a file"},
      {"INDEX.HTM", "T:A:index.htm", BookStatus::kBadRecord, "has 3 fields"},
  };
  const std::string page = "<p>";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record.value_or(c.entry));
    BookImage image;
    if (*c.entry != '\0') {
      image.entries.Add({c.entry, reinterpret_cast<const uint8_t*>(page.data()),
                         std::string(c.entry) == "EMPTY.HTM" ? size_t{0} : page.size()});
    }
    if (c.record) {
      image.record = *c.record;
    }
    const BookCheck check = CheckBook(image, Latin1ToUtf8);
    EXPECT_EQ(check.status, c.status) << check.message;
    EXPECT_NE(check.message.find(c.message_part), std::string::npos) << check.message;
    // The index page is found whatever its letter case, and only when readable.
    EXPECT_EQ(check.index_page != nullptr ? check.index_page->name : "",
              c.status == BookStatus::kReadable ? c.entry : "");
  }
}

}  // namespace
}  // namespace vexmar::viewer
