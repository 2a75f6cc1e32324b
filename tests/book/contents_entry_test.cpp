#include "book/contents_entry.h"

#include <gtest/gtest.h>

namespace vexmar::book {
namespace {

TEST(ContentsEntry, ReadsBackWhatTheBuildWrites) {
  const std::string longTitle = std::string(511, 'x') + "\xC3\xA9";  // é would pass 512 bytes
  const std::vector<ContentsPage> pages = {{"INDEX.HTM", "Garden Notes"},
                                           {"KAPITEL\\\xC3\x9C"
                                            "BER.HTM",
                                            "\xCE\x91\xCE\xB8"},
                                           {"EMPTY.TXT", ""},
                                           {"TAB.HTM", "a\tb\nc\x7F"},
                                           {"LONG.HTM", longTitle}};
  const auto read = ReadContentsEntry(WriteContentsEntry(pages));
  ASSERT_TRUE(read.ok()) << read.error().reason;
  ASSERT_EQ(read->size(), pages.size());
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(read.value()[i].name, pages[i].name);
    EXPECT_EQ(read.value()[i].title, pages[i].title);
  }
  EXPECT_EQ(read.value()[3].title, "a b c ");               // one line each
  EXPECT_EQ(read.value()[4].title, std::string(511, 'x'));  // cut at a character
  EXPECT_EQ(ReadContentsEntry(WriteContentsEntry({})).value().size(), 0u);
}

TEST(ContentsEntry, RefusesADamagedOrLaterEntryWhole) {
  const std::string good = WriteContentsEntry({{"A.HTM", "One"}, {"B.HTM", "Two"}});
  // Every entry cut short, wherever it is cut.
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(ReadContentsEntry(good.substr(0, size)).ok()) << size;
  }
  const auto with = [&](std::size_t at, std::string_view bytes) {
    return good.substr(0, at) + std::string(bytes) + good.substr(at + bytes.size());
  };
  const std::string damaged[] = {
      with(0, "VXCX"),                              // not contents
      with(8, std::string("\xFF\xFF\xFF\x0F", 4)),  // claims far more pages than it holds
      with(16, "\xC3"),                             // a name that is not UTF-8
      with(16, "\t"),                               // ... or holds a control character
      std::string("VXCT\1\0\0\0\1\0\0\0\0\0\0\0\0\0\0\0", 20),  // an empty name
      good + "x",                                               // bytes after the last page
  };
  for (const std::string& bytes : damaged) {
    const auto read = ReadContentsEntry(bytes);
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.error().reason.find("damaged"), std::string::npos) << read.error().reason;
  }
  const auto later = ReadContentsEntry(with(4, std::string("\2\0\0\0", 4)));
  ASSERT_FALSE(later.ok());
  EXPECT_NE(later.error().reason.find("version 2"), std::string::npos);
  EXPECT_FALSE(ReadContentsEntry(std::string(kMaxContentsBytes + 1, '\0')).ok());
}

}  // namespace
}  // namespace vexmar::book
