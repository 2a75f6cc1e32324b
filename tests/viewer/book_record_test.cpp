#include "book/book_record.h"

#include <gtest/gtest.h>

#include "book/entry_name.h"
#include "viewer/book_check.h"
#include "viewer/latin1_decoder.h"

namespace vexmar::viewer {
namespace {

using testing::Latin1ToUtf8;

TEST(BookRecord, SplitsTheNineFieldsAsWrittenOrSaysWhyNot) {
  const std::pair<std::string, std::array<std::string, 9>> fields[] = {
      // Fields are never trimmed; "\xE9" is "é" in the ANSI code page.
      {" Caf\xE9 :  :Index.Htm:14.03.26:::blank:blank:blank",
       {" Caf\xC3\xA9 ", "  ", "Index.Htm", "14.03.26", "", "", "blank", "blank", "blank"}},
      // Behind the UTF-8 mark, UTF-8; a malformed byte is shown as U+FFFD.
      {"\xEF\xBB\xBF日本:\xFF:i.htm:d:::blank:blank:blank",
       {"日本", "\xEF\xBF\xBD", "i.htm", "d", "", "", "blank", "blank", "blank"}},
      // Trailing zero padding is not part of the record.
      {std::string("T:A:i.htm:d:::blank:blank:blank\0\0\0", 34),
       {"T", "A", "i.htm", "d", "", "", "blank", "blank", "blank"}},
  };
  for (const auto& [bytes, expected] : fields) {
    const Result<book::BookRecord> record = book::ParseBookRecord(bytes, Latin1ToUtf8);
    ASSERT_TRUE(record.ok()) << record.error().reason;
    EXPECT_EQ(record->fields, expected);
    EXPECT_EQ(record->index_page(), expected[2]);
  }
  const std::pair<std::string, const char*> refused[] = {
      {"T:x:A:i.htm:d:::blank:blank:blank", "has 10 fields instead of 9"},  // a colon in a title
      {std::string("T:A\0:i.htm:d:::blank:blank:blank", 32), "zero byte"},
      {"T:A::d:::blank:blank:blank", "names no index page"},
      {std::string(70000, 'x') + ":A:i.htm:d:::blank:blank:blank", "too long"},
  };
  for (const auto& [bytes, message_part] : refused) {
    const Result<book::BookRecord> record = book::ParseBookRecord(bytes, Latin1ToUtf8);
    ASSERT_FALSE(record.ok()) << message_part;
    EXPECT_NE(record.error().reason.find(message_part), std::string::npos) << record.error().reason;
  }
}

// The bare stub, a missing record and a missing or empty index page are
// checked on real books under Wine (stub_under_wine_test.cpp).
TEST(BookCheck, AnIndexPageOutsideTheBookIsRefusedEvenWhenAnEntryMatches) {
  const std::pair<const char*, BookStatus> cases[] = {
      {"Chapter 1.html", BookStatus::kReadable},  // found in any letter case
      {"..\\outside.htm", BookStatus::kBadRecord},
      {"sub\\page.htm", BookStatus::kBadRecord},
      {"nul.htm", BookStatus::kBadRecord},
  };
  const std::string page = "<p>";
  for (const auto& [index, status] : cases) {
    const std::string record = std::string("T:A:") + index + ":d:::blank:blank:blank";
    BookImage image;
    image.record = record;
    const std::string entry = book::UpperCaseName(index);
    image.entries.Add({entry, reinterpret_cast<const uint8_t*>(page.data()), page.size()});
    const BookCheck check = CheckBook(image, Latin1ToUtf8);
    EXPECT_EQ(check.status, status) << index << ": " << check.message;
    EXPECT_EQ(check.indexPage != nullptr ? check.indexPage->name : "",
              status == BookStatus::kReadable ? entry : "");
    if (status != BookStatus::kReadable) {
      EXPECT_NE(check.message.find("cannot be a file"), std::string::npos) << check.message;
    }
  }
}

}  // namespace
}  // namespace vexmar::viewer
