#include "book/entry_name.h"

#include <gtest/gtest.h>

namespace vexmar::book {
namespace {

TEST(ExtractNames, OnlyNamesThatStayInTheFolderMayBeWritten) {
  // Device names count only whole, so CONSOLE.HTM and COM10.TXT are files.
  for (const char* name : {"INDEX.HTM", "CHAPTER 1.HTML", "\xC3\x9CMLAUT.HTM", "A..B.TXT",
                           ".HIDDEN", "CONSOLE.HTM", "COM10.TXT"}) {
    EXPECT_EQ(UnsafeNameReason(name), std::nullopt) << name;
  }
  const std::pair<const char*, std::vector<std::string>> refused[] = {
      // part of the reason, names refused for it
      {"empty", {""}},
      {"folder", {".", ".."}},
      {"separator", {"..\\EVIL.EXE", "../EVIL.EXE", "\\WINDOWS\\EVIL.DLL"}},
      {"\":\"", {"C:EVIL.EXE", "PAGE.HTM:STREAM"}},
      {"control", {"A\tB.HTM", std::string("A\0B", 3)}},
      {"\"?\"", {"WHAT?.HTM"}},
      {"\"*\"", {"A*.HTM"}},
      {"\"|\"", {"A|B"}},
      {"dot or a blank", {"PAGE.HTM.", "PAGE.HTM "}},
      {"device", {"CON", "nul.htm", "LPT9", "AUX .HTM", "CONOUT$"}},
      {"not valid text", {"\xFF\xFE.HTM"}},
  };
  for (const auto& [reason_part, names] : refused) {
    for (const std::string& name : names) {
      SCOPED_TRACE(name);
      const std::optional<std::string> reason = UnsafeNameReason(name);
      ASSERT_TRUE(reason.has_value());
      EXPECT_NE(reason->find(reason_part), std::string::npos) << *reason;
    }
  }
}

TEST(ExtractNames, ANameEqualToAnEarlierOneApartFromCaseIsRefused) {
  const std::vector<ExtractStep> plan =
      PlanExtraction({"PAGE.HTM", "..\\X.HTM", "page.htm", "\xC3\x9C.HTM", "\xC3\xBC.htm"});
  ASSERT_EQ(plan.size(), 5u);
  EXPECT_EQ(plan[0].refusal + plan[3].refusal, "");
  EXPECT_NE(plan[1].refusal, "");
  EXPECT_NE(plan[2].refusal.find("letter case"), std::string::npos);
  EXPECT_NE(plan[4].refusal.find("letter case"), std::string::npos);
}

TEST(UpperCase, MatchesTheResourceLoaderForAnsiLetters) {
  const std::pair<const char*, const char*> cases[] = {
      {"index.htm", "INDEX.HTM"},
      {"\xC3\xA4\xC3\xB6\xC3\xBC", "\xC3\x84\xC3\x96\xC3\x9C"},  // äöü
      {"\xC3\xBF", "\xC5\xB8"},                                  // ÿ -> Ÿ
      {"ma\xC3\x9F.htm", "MA\xC3\x9F.HTM"},                      // ß stays
      {"\xC3\xB7", "\xC3\xB7"},                                  // ÷ is no letter
      {"\xC5\x82\xC3\xB3\xC5\xBC", "\xC5\x81\xC3\x93\xC5\xBB"},  // łóż (Windows-1250)
      // αςά (Windows-1253): the loader leaves the final sigma as it is.
      {"\xCE\xB1\xCF\x82\xCE\xAC", "\xCE\x91\xCF\x82\xCE\x86"},
      {"\xD1\x91\xD1\x8F", "\xD0\x81\xD0\xAF"},                  // ёя (Windows-1251)
      {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},  // 日本 unchanged
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                  // astral unchanged
      {"\xEF\xBD\x81", "\xEF\xBC\xA1"},  // fullwidth a (code page 932) -> fullwidth A
      {"\xC4\xB1", "\xC4\xB1"},          // dotless i stays, as in Windows
  };
  for (const auto& [lower, upper] : cases) {
    SCOPED_TRACE(lower);
    EXPECT_EQ(UpperCaseName(lower), upper);
  }
}

}  // namespace
}  // namespace vexmar::book
