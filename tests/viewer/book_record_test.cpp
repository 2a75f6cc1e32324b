#include "viewer/book_record.h"

#include <gtest/gtest.h>

#include <deque>

#include "viewer/book_check.h"
#include "viewer/latin1_decoder.h"

namespace vexmar::viewer {
namespace {

using testing::Latin1ToUtf8;

TEST(BookRecord, SplitsTheNineFieldsAsWritten) {
  const Result<BookRecord> record = ParseBookRecord(
      "Garden Notes:A. Reader:index.htm:3/14/2026:More notes::blank:blank:blank", Latin1ToUtf8);
  ASSERT_TRUE(record.ok()) << record.error().reason;
  EXPECT_EQ(record->title(), "Garden Notes");
  EXPECT_EQ(record->author(), "A. Reader");
  EXPECT_EQ(record->index_page(), "index.htm");
  EXPECT_EQ(record->build_date(), "3/14/2026");
  EXPECT_EQ(record->link_text(), "More notes");
  EXPECT_EQ(record->link_address(), "");
  EXPECT_EQ(record->fields[8], "blank");
}

TEST(BookRecord, KeepsBlanksAndConvertsFromTheAnsiCodePage) {
  // Fields are never trimmed; "\xE9" is "é" in the ANSI code page.
  const Result<BookRecord> record =
      ParseBookRecord(" Caf\xE9 :  :Index.Htm:14.03.26:::blank:blank:blank", Latin1ToUtf8);
  ASSERT_TRUE(record.ok()) << record.error().reason;
  EXPECT_EQ(record->title(), " Caf\xC3\xA9 ");
  EXPECT_EQ(record->author(), "  ");
  EXPECT_EQ(record->index_page(), "Index.Htm");
  EXPECT_EQ(record->link_text(), "");
}

TEST(BookRecord, TrailingZeroPaddingIsNotPartOfTheRecord) {
  const std::string padded("T:A:i.htm:d:::blank:blank:blank\0\0\0", 34);
  const Result<BookRecord> record = ParseBookRecord(padded, Latin1ToUtf8);
  ASSERT_TRUE(record.ok()) << record.error().reason;
  EXPECT_EQ(record->fields[8], "blank");
}

TEST(BookRecord, RefusesMalformedRecordsSayingWhy) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* message_part;
  };
  const Case cases[] = {
      {"empty", "", "is empty"},
      {"only zeros", std::string(4, '\0'), "is empty"},
      {"eight fields", "T:A:i.htm:d:::blank:blank", "has 8 fields instead of 9"},
      {"one field", "just a title", "has 1 field instead of 9"},
      {"ten fields (a title with a colon)", "T:x:A:i.htm:d:::blank:blank:blank",
       "has 10 fields instead of 9"},
      {"zero byte inside", std::string("T:A\0:i.htm:d:::blank:blank:blank", 32), "zero byte"},
      {"no index page", "T:A::d:::blank:blank:blank", "names no index page"},
      {"oversized", std::string(70000, 'x') + ":A:i.htm:d:::blank:blank:blank", "too long"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Result<BookRecord> record = ParseBookRecord(c.bytes, Latin1ToUtf8);
    ASSERT_FALSE(record.ok());
    EXPECT_NE(record.error().reason.find(c.message_part), std::string::npos)
        << record.error().reason;
  }
}

class BookCheckTest : public ::testing::Test {
 protected:
  void AddEntry(const std::string& name, const std::string& bytes) {
    storage_.push_back(bytes);
    image_.entries.Add(
        {name, reinterpret_cast<const uint8_t*>(storage_.back().data()), storage_.back().size()});
  }
  BookCheck Check() const { return CheckBook(image_, Latin1ToUtf8); }

  BookImage image_;
  std::deque<std::string> storage_;  // stable addresses for the entries' data
};

TEST_F(BookCheckTest, TheBareStubIntroducesTheCompiler) {
  const BookCheck check = Check();
  EXPECT_EQ(check.status, BookStatus::kBareStub);
  EXPECT_NE(check.message.find("viewer of the Vexmar E-book Compiler"), std::string::npos);
  EXPECT_NE(check.message.find("made with"), std::string::npos);
}

TEST_F(BookCheckTest, FilesWithoutARecordAreADamagedBook) {
  AddEntry("INDEX.HTM", "<p>");
  EXPECT_EQ(Check().status, BookStatus::kNoRecord);
}

TEST_F(BookCheckTest, FindsTheIndexPageWhateverItsLetterCase) {
  AddEntry("CHAPTER 1.HTML", "<p>one");
  image_.record = "T:A:Chapter 1.html:d:::blank:blank:blank";
  const BookCheck check = Check();
  ASSERT_EQ(check.status, BookStatus::kReadable) << check.message;
  ASSERT_NE(check.index_page, nullptr);
  EXPECT_EQ(check.index_page->name, "CHAPTER 1.HTML");
}

TEST_F(BookCheckTest, AMissingOrEmptyIndexPageIsNamed) {
  AddEntry("EMPTY.HTM", "");
  for (const char* index : {"gone.htm", "empty.htm"}) {
    SCOPED_TRACE(index);
    const std::string record = std::string("T:A:") + index + ":d:::blank:blank:blank";
    image_.record = record;
    const BookCheck check = Check();
    EXPECT_EQ(check.status, BookStatus::kNoIndexPage);
    EXPECT_NE(check.message.find(index), std::string::npos) << check.message;
    EXPECT_EQ(check.index_page, nullptr);
  }
}

TEST_F(BookCheckTest, AnIndexPageOutsideTheBookIsRefusedEvenWhenAnEntryMatches) {
  AddEntry("..\\OUTSIDE.HTM", "<p>");
  AddEntry("SUB\\PAGE.HTM", "<p>");
  for (const char* index : {"..\\outside.htm", "sub\\page.htm", "nul.htm"}) {
    SCOPED_TRACE(index);
    const std::string record = std::string("T:A:") + index + ":d:::blank:blank:blank";
    image_.record = record;
    const BookCheck check = Check();
    EXPECT_EQ(check.status, BookStatus::kBadRecord);
    EXPECT_NE(check.message.find("cannot be a file of the book"), std::string::npos)
        << check.message;
    EXPECT_EQ(check.index_page, nullptr);
  }
}

TEST_F(BookCheckTest, AMalformedRecordIsReportedWithItsReason) {
  AddEntry("INDEX.HTM", "<p>");
  image_.record = "T:A:index.htm";
  const BookCheck check = Check();
  EXPECT_EQ(check.status, BookStatus::kBadRecord);
  EXPECT_NE(check.message.find("has 3 fields"), std::string::npos) << check.message;
}

}  // namespace
}  // namespace vexmar::viewer
