// How names become keys, in which order the directories list them, and how
// the loader's lookup falls back between languages.
#include <gtest/gtest.h>

#include <random>

#include "platform/resources/upper_case.h"
#include "platform/text/utf.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using testing::Apply;
using testing::Id;

TEST(ResourceNames, CallerNamesAreNormalisedAsWindowsDoes) {
  const std::pair<const char*, const char*> cases[] = {
      {"Chapter 1.html", "CHAPTER 1.HTML"},
      {"\xC3\xA4", "\xC3\x84"},  // ä -> Ä
      {"\xC3\xBF", "\xC5\xB8"},  // ÿ -> Ÿ (U+0178)
      {"stra\xC3\x9F"
       "e",
       "STRA\xC3\x9F"
       "E"},                                       // ß has no one-letter capital
      {"\xC4\xB1", "\xC4\xB1"},                    // dotless ı stays: Windows keeps it
      {"\xC7\x86", "\xC7\x84"},                    // ǆ -> Ǆ
      {"\xCF\x89\xD0\xB0", "\xCE\xA9\xD0\x90"},    // ω а -> Ω А
      {"\xC5\xBF\xC2\xB5", "\xC5\xBF\xC2\xB5"},    // ſ and µ stay, as on Windows
      {"\xEF\xBD\x81", "\xEF\xBC\xA1"},            // fullwidth a -> A
      {"\xF0\x9F\x98\x80x", "\xF0\x9F\x98\x80X"},  // astral characters pass through
      {"#123", "#123"},
      {"#65535", "#65535"},
  };
  for (const auto& [text, stored] : cases) {
    SCOPED_TRACE(text);
    auto id = ResourceId::FromUtf8(text);
    ASSERT_TRUE(id.ok()) << id.error().reason;
    EXPECT_EQ(id.value().is_number() ? "#" + std::to_string(id.value().number())
                                     : utf::Utf16ToUtf8(id.value().name()),
              stored);
  }
  // Surrogate halves are never touched, so a pair always stays a pair.
  for (char16_t unit = 0xD800; unit < 0xE000; ++unit) ASSERT_EQ(UpperCaseUnit(unit), unit);
}

TEST(ResourceNames, NamesNoWindowsCallCouldAskForAreRefused) {
  const std::u16string cases[] = {u"",     u"#",        u"#0",        u"#70000",
                                  u"#12a", u"#1234567", {u"A\0B", 3}, std::u16string(70000, u'A')};
  for (const std::u16string& text : cases) {
    SCOPED_TRACE(utf::Utf16ToUtf8(text.substr(0, 10)));
    auto id = ResourceId::FromText(text);
    ASSERT_FALSE(id.ok());
    EXPECT_FALSE(id.error().reason.empty());
  }
  EXPECT_FALSE(ResourceId::Number(0).ok());
  EXPECT_FALSE(ResourceId::Number(65536).ok());
}

// The order the loader's bisection needs, checked on shuffled input at
// every level, and by looking every key up rather than by enumerating.
TEST(ResourceOrder, DirectoriesAreSortedNamesFirstByCodeUnit) {
  VEXMAR_REQUIRE_FIXTURES();
  const std::vector<std::string> names = {
      "A B",
      "A-B",
      "A.B",
      "A1",
      "AB",
      "A_B",
      "Z",
      "\xC3\x84X",
      "\xF0\x9F\x98\x80",  // U+1F600, stored as D83D DE00: before U+E000
      "\xEE\x80\x80",      // U+E000
      "ABC",               // the longer name after its prefix AB
  };
  std::vector<testing::EntrySnapshot> keys;
  for (const std::string type : {"TYPEB", "TYPEA", "5", "2110"}) {
    for (const std::string& name : names) keys.push_back({type, name, 1033, 0, {}});
    for (const uint16_t language : {uint16_t{1033}, uint16_t{2052}, uint16_t{1031}, uint16_t{9}}) {
      keys.push_back({type, language == 1033 ? "300" : "7", language, 0, {}});
    }
  }
  std::shuffle(keys.begin(), keys.end(), std::mt19937(20260314));
  for (auto& key : keys) key.data = testing::ToBytes(key.type + "|" + key.name);
  const testing::Bytes output = Apply(testing::LoadFixture("exe32.exe"), [&](auto& editor) {
    for (const auto& key : keys) testing::Put(editor, key.type, key.name, key.language, key.data);
  });
  EXPECT_EQ(testing::ValidateImage(output), std::vector<std::string>{});
  testing::ExpectFindsAll(output, keys);

  MemorySource source(output);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok());
  const auto& directories = file.value().table.directories();
  auto order = [&](size_t directory) {
    std::vector<std::string> ids;
    for (const auto& child : directories[directory].children) ids.push_back(child.id.ToDisplay());
    return ids;
  };
  // The fixture's own types (CUSTOM, 6, 10, 16) interleave with ours.
  EXPECT_EQ(order(0), (std::vector<std::string>{"\"CUSTOM\"", "\"TYPEA\"", "\"TYPEB\"", "5", "6",
                                                "10", "16", "2110"}));
  std::vector<std::string> type_a;
  for (const char* name : {"A B", "A-B", "A.B", "A1", "AB", "ABC", "A_B", "Z", "\xC3\x84X",
                           "\xF0\x9F\x98\x80", "\xEE\x80\x80"}) {
    type_a.push_back("\"" + std::string(name) + "\"");
  }
  type_a.insert(type_a.end(), {"7", "300"});
  EXPECT_EQ(order(static_cast<size_t>(directories[0].children[1].directory)), type_a);
}

TEST(ResourceLookup, LanguageFallsBackAsTheLoaderDoes) {
  VEXMAR_REQUIRE_FIXTURES();
  // Like Wine's test with a German-only MENU.
  const testing::Bytes output =
      Apply(testing::LoadFixture("exe32.exe"), testing::PutOne("4", "1", 0x0407, {1}));
  MemorySource source(output);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok());
  const auto& table = file.value().table;
  const std::tuple<const char*, const char*, uint16_t, bool> cases[] = {
      {"4", "1", 0, true},       {"4", "1", 0x0407, true},  {"4", "1", 0x0007, false},
      {"4", "1", 0x0409, false}, {"4", "1", 0x040C, false}, {"5", "1", 0, false},
      {"4", "2", 0, false},      {"hello", "7", 0, false},  {"custom", "hello", 0x0407, true},
  };
  for (const auto& [type, name, language, found] : cases) {
    EXPECT_EQ(table.Find(Id(type), Id(name), language).ok(), found)
        << type << "/" << name << "/" << language;
  }
  // The fixture's RCDATA 7 exists in English and German: a neutral query
  // takes en-US before the first listed.
  auto neutral = table.Find(Id("10"), Id("7"), 0);
  ASSERT_TRUE(neutral.ok());
  EXPECT_EQ(neutral.value().language, 0x0409);
}

}  // namespace
}  // namespace vexmar::resources
