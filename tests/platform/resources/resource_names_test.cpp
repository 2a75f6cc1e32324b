// How names become keys and in which order the directories list them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/resources/resource_id.h"
#include "platform/resources/resource_table.h"
#include "platform/resources/upper_case.h"
#include "platform/text/utf.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using testing::Id;

TEST(ResourceNames, CallerNamesAreNormalisedAsWindowsDoes) {
  struct Case {
    const char* text;
    bool is_number;
    uint16_t number;
    const char* stored;  // UTF-8
  };
  const Case cases[] = {
      {"index.html", false, 0, "INDEX.HTML"},
      {"Chapter 1.html", false, 0, "CHAPTER 1.HTML"},
      {"\xC3\xA4", false, 0, "\xC3\x84"},  // ä -> Ä
      {"\xC3\xBF", false, 0, "\xC5\xB8"},  // ÿ -> Ÿ (U+0178)
      {"stra\xC3\x9F"
       "e",
       false, 0,
       "STRA\xC3\x9F"
       "E"},                               // ß has no one-letter capital
      {"\xC4\xB1", false, 0, "\xC4\xB1"},  // dotless ı stays: Windows does not map it to I
      {"\xC7\x86", false, 0, "\xC7\x84"},  // ǆ -> Ǆ
      {"\xF0\x9F\x98\x80x", false, 0, "\xF0\x9F\x98\x80X"},  // astral characters pass through
      {"#123", true, 123, ""},
      {"#65535", true, 65535, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto id = ResourceId::FromUtf8(c.text);
    ASSERT_TRUE(id.ok()) << id.error().reason;
    EXPECT_EQ(id.value().is_number(), c.is_number);
    if (c.is_number) {
      EXPECT_EQ(id.value().number(), c.number);
    } else {
      EXPECT_EQ(utf::Utf16ToUtf8(id.value().name()), c.stored);
    }
  }
}

TEST(ResourceNames, NamesNoWindowsCallCouldAskForAreRefused) {
  const std::u16string cases[] = {u"",
                                  u"#",
                                  u"#0",
                                  u"#70000",
                                  u"#12a",
                                  u"#1234567",
                                  std::u16string(u"A\0B", 3),
                                  std::u16string(70000, u'A')};
  for (const std::u16string& text : cases) {
    SCOPED_TRACE(utf::Utf16ToUtf8(text.substr(0, 10)));
    auto id = ResourceId::FromText(text);
    EXPECT_FALSE(id.ok());
    if (!id.ok()) {
      EXPECT_FALSE(id.error().reason.empty());
    }
  }
  EXPECT_FALSE(ResourceId::Number(0).ok());
  EXPECT_FALSE(ResourceId::Number(65536).ok());
}

TEST(ResourceNames, UpperCasingChangesOneUnitAtATime) {
  // Surrogate halves are never touched, so a pair always stays a pair.
  for (char16_t unit = 0xD800; unit < 0xE000; ++unit) {
    ASSERT_EQ(UpperCaseUnit(unit), unit);
  }
  EXPECT_EQ(UpperCaseUnit(u'z'), u'Z');
  EXPECT_EQ(UpperCaseUnit(u'\u03C9'), u'\u03A9');  // ω -> Ω
  EXPECT_EQ(UpperCaseUnit(u'\u0430'), u'\u0410');  // а -> А
  EXPECT_EQ(UpperCaseUnit(u'\u017F'), u'\u017F');  // ſ stays, as on Windows
  EXPECT_EQ(UpperCaseUnit(u'\u00B5'), u'\u00B5');  // µ stays
  EXPECT_EQ(UpperCaseUnit(u'\uFF41'), u'\uFF21');  // fullwidth a -> A
}

// The order the loader's bisection needs, checked on shuffled input at
// every level, and by looking every key up rather than by enumerating.
TEST(ResourceOrder, DirectoriesAreSortedNamesFirstByCodeUnit) {
  if (!testing::HaveFixtures()) {
    GTEST_SKIP() << "no mingw fixtures";
  }
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
  std::vector<std::tuple<std::string, std::string, uint16_t>> keys;
  for (const std::string& type :
       {std::string("TYPEB"), std::string("TYPEA"), std::string("5"), std::string("2110")}) {
    for (const std::string& name : names) {
      keys.emplace_back(type, name, 1033);
    }
    keys.emplace_back(type, "300", 1033);
    keys.emplace_back(type, "7", 2052);
    keys.emplace_back(type, "7", 1031);
    keys.emplace_back(type, "7", 9);
  }
  std::shuffle(keys.begin(), keys.end(), std::mt19937(20260314));
  const testing::Bytes output =
      testing::Apply(testing::LoadFixture("exe32.exe"), [&](auto& editor) {
        for (const auto& [type, name, language] : keys) {
          ASSERT_TRUE(editor
                          .Set(Id(type), Id(name), language,
                               EntryData::Bytes(testing::ToBytes(type + "|" + name)))
                          .ok());
        }
      });
  EXPECT_EQ(testing::ValidateImage(output), std::vector<std::string>{});

  MemorySource source(output);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok());
  const auto& root = file.value().table.directories()[0];
  std::vector<std::string> root_order;
  for (const auto& child : root.children) {
    root_order.push_back(child.id.ToDisplay());
  }
  // The fixture's own types (CUSTOM, 6, 10, 16) interleave with ours.
  EXPECT_EQ(root_order, (std::vector<std::string>{"\"CUSTOM\"", "\"TYPEA\"", "\"TYPEB\"", "5", "6",
                                                  "10", "16", "2110"}));
  const auto& type_a =
      file.value().table.directories()[static_cast<size_t>(root.children[1].directory)];
  std::vector<std::string> name_order;
  for (const auto& child : type_a.children) {
    name_order.push_back(utf::Utf16ToUtf8(child.id.is_number() ? u"#" : child.id.name()) +
                         (child.id.is_number() ? std::to_string(child.id.number()) : ""));
  }
  EXPECT_EQ(name_order, (std::vector<std::string>{"A B", "A-B", "A.B", "A1", "AB", "ABC", "A_B",
                                                  "Z", "\xC3\x84X", "\xF0\x9F\x98\x80",
                                                  "\xEE\x80\x80", "#7", "#300"}));
  for (const auto& [type, name, language] : keys) {
    SCOPED_TRACE(type + "/" + name + "/" + std::to_string(language));
    auto found = file.value().table.Find(Id(type), Id(name), language);
    ASSERT_TRUE(found.ok()) << found.error().reason;
    EXPECT_EQ(ReadEntryData(source, found.value()).value(), testing::ToBytes(type + "|" + name));
  }
}

TEST(ResourceLookup, LanguageFallsBackAsTheLoaderDoes) {
  if (!testing::HaveFixtures()) {
    GTEST_SKIP() << "no mingw fixtures";
  }
  // Like Wine's test with a German-only MENU.
  const testing::Bytes output = testing::Apply(testing::LoadFixture("exe32.exe"), [](auto& editor) {
    ASSERT_TRUE(editor.Set(Id("4"), Id("1"), 0x0407, EntryData::Bytes({1})).ok());
  });
  MemorySource source(output);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok());
  const auto& table = file.value().table;
  struct Case {
    const char* type;
    const char* name;
    uint16_t language;
    bool found;
  };
  const Case cases[] = {
      {"4", "1", 0, true},       {"4", "1", 0x0407, true},  {"4", "1", 0x0007, false},
      {"4", "1", 0x0409, false}, {"4", "1", 0x040C, false}, {"5", "1", 0, false},
      {"4", "2", 0, false},      {"hello", "7", 0, false},  {"custom", "hello", 0x0407, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + "/" + c.name + "/" + std::to_string(c.language));
    EXPECT_EQ(table.Find(Id(c.type), Id(c.name), c.language).ok(), c.found);
  }
  // The fixture's RCDATA 7 exists in English and German: an English query
  // picks English, a neutral query en-US before the first listed.
  auto neutral = table.Find(Id("10"), Id("7"), 0);
  ASSERT_TRUE(neutral.ok());
  EXPECT_EQ(neutral.value().language, 0x0409);
}

}  // namespace
}  // namespace vexmar::resources
