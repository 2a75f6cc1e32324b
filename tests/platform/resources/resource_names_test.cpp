// How names become keys and in which order the directories list them.
// Under Wine the same is checked against the system itself
// (resource_wine_test.cpp).
#include <gtest/gtest.h>

#include <random>

#include "platform/text/utf.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

using namespace testing;  // NOLINT: the helpers of this suite

TEST(ResourceNames, CallerNamesAreNormalisedAsWindowsDoesOrRefused) {
  // The letters are checked against the system's own table under Wine.
  const std::pair<const char*, const char*> cases[] = {
      {"Chapter 1.html\xC3\xBF\xC4\xB1", "\"CHAPTER 1.HTML\xC5\xB8\xC4\xB1\""},  // ÿ -> Ÿ; ı stays
      {"\xF0\x9F\x98\x80x", "\"\xF0\x9F\x98\x80X\""},  // astral characters pass through
      {"#123", "123"},
      {"#65535", "65535"}};
  for (const auto& [text, stored] : cases) {
    auto id = ResourceId::FromUtf8(text);
    ASSERT_TRUE(id.ok()) << text << ": " << id.error().reason;
    EXPECT_EQ(id.value().ToDisplay(), stored);
  }
  // Names no Windows call could ask for.
  const std::u16string refused[] = {
      u"", u"#", u"#0", u"#70000", u"#12a", u"#1234567", {u"A\0B", 3}, std::u16string(70000, u'A')};
  for (const std::u16string& text : refused) {
    EXPECT_FALSE(ResourceId::FromText(text).ok()) << utf::Utf16ToUtf8(text.substr(0, 10));
  }
  EXPECT_FALSE(ResourceId::Number(0).ok());
  EXPECT_FALSE(ResourceId::Number(65536).ok());
}

// The order the loader's bisection needs: names first by UTF-16 code unit
// (a prefix first), then numbers; given shuffled at every level.
TEST(ResourceOrder, DirectoriesAreSortedNamesFirstByCodeUnit) {
  VEXMAR_REQUIRE_FIXTURES();
  // U+1F600 is stored as D83D DE00, so it comes before U+E000.
  const std::vector<std::string> sorted = {
      "\"A B\"",          "\"A-B\"", "\"A.B\"", "\"A1\"",        "\"AB\"",
      "\"ABC\"",          "\"A_B\"", "\"Z\"",   "\"\xC3\x84X\"", "\"\xF0\x9F\x98\x80\"",
      "\"\xEE\x80\x80\"", "7",       "300"};
  std::vector<Entry> keys;
  for (const std::string type : {"TYPEB", "TYPEA", "5", "2110"}) {
    for (const std::string& name : sorted) keys.push_back({type, name, 1033});
    for (const uint16_t language : {uint16_t{2052}, uint16_t{1031}, uint16_t{9}})
      keys.push_back({type, "7", language});
  }
  std::shuffle(keys.begin(), keys.end(), std::mt19937(20260314));
  const Bytes output = Apply(LoadFixture("exe32.exe"), [&](ResourceEditor& editor) {
    for (const Entry& key : keys) Put(editor, key.type, key.name, key.language, ToBytes(key.name));
  });
  EXPECT_EQ(ValidateImage(output), std::vector<std::string>{});

  MemorySource source(output);
  auto file = ReadResourceFile(source);
  ASSERT_TRUE(file.ok());
  const auto& directories = file.value().table.directories();
  const auto order = [&](int directory) {
    std::vector<std::string> ids;
    for (const auto& child : directories[size_t(directory)].children) {
      ids.push_back(child.id.ToDisplay());
    }
    return ids;
  };
  // The fixture's own types (CUSTOM, 6, 10, 16) interleave with ours.
  EXPECT_EQ(order(0), (std::vector<std::string>{"\"CUSTOM\"", "\"TYPEA\"", "\"TYPEB\"", "5", "6",
                                                "10", "16", "2110"}));
  const int type_a = directories[0].children[1].directory;
  EXPECT_EQ(order(type_a), sorted);
  const int languages = directories[size_t(type_a)].children[11].directory;
  EXPECT_EQ(order(languages), (std::vector<std::string>{"9", "1031", "1033", "2052"}));
}

}  // namespace
}  // namespace vexmar::resources
