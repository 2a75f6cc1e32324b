#include "viewer/entry_name.h"

#include <gtest/gtest.h>

namespace vexmar::viewer {
namespace {

TEST(ExtractNames, PlainFileNamesMayBeWritten) {
  for (const char* name : {"INDEX.HTM", "CHAPTER 1.HTML",
                           "\xC3\x9C"
                           "BUNG.HTM",
                           "A..B.TXT", ".HIDDEN", "CONSOLE.HTM", "COM10.TXT", "NULL"}) {
    EXPECT_EQ(UnsafeNameReason(name), std::nullopt) << name;
  }
}

TEST(ExtractNames, NamesThatCouldLeaveTheFolderAreRefused) {
  struct Case {
    std::string name;
    const char* reason_part;
  };
  const Case cases[] = {
      {"", "empty"},
      {".", "folder"},
      {"..", "folder"},
      {"..\\EVIL.EXE", "separator"},
      {"../EVIL.EXE", "separator"},
      {"SUB\\PAGE.HTM", "separator"},
      {"\\WINDOWS\\EVIL.DLL", "separator"},
      {"C:EVIL.EXE", "\":\""},
      {"C:\\EVIL.EXE", "separator"},
      {"PAGE.HTM:STREAM", "\":\""},
      {"A\tB.HTM", "control"},
      {std::string("A\0B", 3), "control"},
      {"WHAT?.HTM", "\"?\""},
      {"A*.HTM", "\"*\""},
      {"A|B", "\"|\""},
      {"A<B", "\"<\""},
      {"PAGE.HTM.", "dot or a blank"},
      {"PAGE.HTM ", "dot or a blank"},
      {"CON", "device"},
      {"nul.htm", "device"},
      {"COM1.TXT", "device"},
      {"LPT9", "device"},
      {"AUX .HTM", "device"},
      {"CONOUT$", "device"},
      {"\xFF\xFE.HTM", "not valid text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<std::string> reason = UnsafeNameReason(c.name);
    ASSERT_TRUE(reason.has_value());
    EXPECT_NE(reason->find(c.reason_part), std::string::npos) << *reason;
  }
}

TEST(ExtractNames, ANameEqualToAnEarlierOneApartFromCaseIsRefused) {
  const std::vector<ExtractStep> plan =
      PlanExtraction({"PAGE.HTM", "..\\X.HTM", "page.htm", "\xC3\x9C.HTM", "\xC3\xBC.htm"});
  ASSERT_EQ(plan.size(), 5u);
  EXPECT_EQ(plan[0].refusal, "");
  EXPECT_NE(plan[1].refusal, "");
  EXPECT_NE(plan[2].refusal.find("letter case"), std::string::npos);
  EXPECT_EQ(plan[3].refusal, "");
  EXPECT_NE(plan[4].refusal.find("letter case"), std::string::npos);
}

TEST(UpperCase, MatchesTheResourceLoaderForAnsiLetters) {
  struct Case {
    const char* lower;
    const char* upper;
  };
  const Case cases[] = {
      {"index.htm", "INDEX.HTM"},
      {"\xC3\xA4\xC3\xB6\xC3\xBC", "\xC3\x84\xC3\x96\xC3\x9C"},  // äöü
      {"\xC3\xBF", "\xC5\xB8"},                                  // ÿ -> Ÿ
      {"stra\xC3\x9F"
       "e",
       "STRA\xC3\x9F"
       "E"},                     // ß stays
      {"\xC3\xB7", "\xC3\xB7"},  // ÷ is no letter
      {"\xC5\x82\xC3\xB3"
       "d\xC5\xBA",
       "\xC5\x81\xC3\x93"
       "D\xC5\xB9"},                             // łódź (Windows-1250)
      {"\xC4\x8D\xC4\x9B", "\xC4\x8C\xC4\x9A"},  // čě
      // αςά (Windows-1253): the loader leaves the final sigma as it is.
      {"\xCE\xB1\xCF\x82\xCE\xAC", "\xCE\x91\xCF\x82\xCE\x86"},
      {"\xD1\x91\xD1\x8F", "\xD0\x81\xD0\xAF"},                  // ёя (Windows-1251)
      {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},  // 日本 unchanged
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                  // astral unchanged
      {"\xEF\xBD\x81", "\xEF\xBC\xA1"},  // fullwidth a (code page 932) -> fullwidth A
      {"\xC4\xB1", "\xC4\xB1"},          // dotless i stays, as in Windows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lower);
    EXPECT_EQ(UpperCaseName(c.lower), c.upper);
  }
}

}  // namespace
}  // namespace vexmar::viewer
