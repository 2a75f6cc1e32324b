#include "book/entry_name.h"

#include <gtest/gtest.h>

namespace vexmar::book {
namespace {

TEST(ExtractNames, OnlyNamesThatStayInTheFolderMayBeWritten) {
  // Device names count only whole, so CONSOLE.HTM and COM10.TXT are files.
  for (const char* name :
       {"CHAPTER 1.HTML", "\xC3\x9CMLAUT.HTM", "A..B.TXT", ".HIDDEN", "CONSOLE.HTM", "COM10.TXT"}) {
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
      const std::optional<std::string> reason = UnsafeNameReason(name);
      ASSERT_TRUE(reason.has_value()) << name;
      EXPECT_NE(reason->find(reason_part), std::string::npos) << name << ": " << *reason;
    }
  }
  // A name equal to an earlier one apart from its letter case is refused.
  const std::vector<ExtractStep> plan =
      PlanExtraction({"PAGE.HTM", "..\\X.HTM", "page.htm", "\xC3\x9C.HTM", "\xC3\xBC.htm"});
  ASSERT_EQ(plan.size(), 5u);
  EXPECT_EQ(plan[0].refusal + plan[3].refusal, "");
  EXPECT_NE(plan[1].refusal, "");
  EXPECT_NE(plan[2].refusal.find("letter case"), std::string::npos);
  EXPECT_NE(plan[4].refusal.find("letter case"), std::string::npos);
}

// The letters themselves are checked against the system's table under Wine
// (resource_wine_test.cpp); here, that every UTF-8 length comes through.
TEST(UpperCase, MatchesTheResourceLoaderInEveryUtf8Length) {
  EXPECT_EQ(UpperCaseName("a\xC3\xBF\xEF\xBD\x81\xE6\x97\xA5\xF0\x9F\x98\x80\xC4\xB1"),
            "A\xC5\xB8\xEF\xBC\xA1\xE6\x97\xA5\xF0\x9F\x98\x80\xC4\xB1");  // aÿａ日😀ı
}

}  // namespace
}  // namespace vexmar::book
