#include "help/help_fields.h"

#include <gtest/gtest.h>

#include "platform/fs/file_system.h"
#include "platform/text/text.h"
#include "support/source_path.h"

namespace vexmar::help {
namespace {

using Texts = std::vector<std::string>;

Texts Load(const std::string& file) {
  return HelpTextsFromFields(SplitHelpFields(file), [] {});
}

TEST(HelpFields, SplitAtCommasAndEveryKindOfLineEnd) {
  const std::tuple<const char*, std::string, Texts> cases[] = {
      {"CR LF lines", "a\r\nb\r\n", {"a", "b"}},
      {"LF lines", "a\nb\n", {"a", "b"}},
      {"CR lines", "a\rb\r", {"a", "b"}},
      {"no final line end", "a\r\nb", {"a", "b"}},
      {"comma", "a,b\r\n", {"a", "b"}},
      {"leading blanks dropped, trailing kept", "   a b  ,  c\r\n", {"a b  ", "c"}},
      {"empty line is one empty field", "a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"line of blanks", "a\r\n   \r\n", {"a", ""}},
      {"quoted field keeps commas", "\"a, b\"\r\n", {"a, b"}},
      {"text after the closing quote is dropped", "\"a\" tail, b\r\n", {"a", "b"}},
      {"quoted field spans a line end", "\"a\r\nb\"\r\nc\r\n", {"a\r\nb", "c"}},
      {"unclosed quote runs to the end", "\"a, b", {"a, b"}},
      {"blanks before a quote", "  \"q\"\r\n", {"q"}},
      {"empty file", "", {}},
  };
  for (const auto& [name, file, fields] : cases) EXPECT_EQ(SplitHelpFields(file), fields) << name;
}

TEST(HelpTexts, EqualsStartsAnEntryAndAFieldWithoutOneReplacesIt) {
  const std::tuple<const char*, std::string, Texts> cases[] = {
      {"further equals belong to the text", "3=a=b\r\n", {"a=b"}},
      {"the key before = is ignored", "anything=x\r\n=y\r\n", {"x", "y"}},
      {"unquoted comma: the rest replaces the text",
       "4=first part, second part\r\n",
       {"second part"}},
      {"an empty line empties the latest entry", "5=text\r\n\r\n6=next\r\n", {"", "next"}},
      {"a field without = before any entry is ignored", "intro\r\n1=one\r\n", {"one"}},
      {"no equals at all", "just text\r\nmore\r\n", {}},
  };
  for (const auto& [name, file, texts] : cases) EXPECT_EQ(Load(file), texts) << name;
}

// The help that ships beside the program: one text for each of the ten icons.
// An unquoted comma in it would silently cut a text short, and a lone "&"
// would swallow a letter, so both are checked here.
TEST(ShippedHelp, HasTenWholeTexts) {
  const auto bytes = fs::RealFileSystem().ReadWholeFile(testing::SourcePath("assets/help.txt"));
  ASSERT_TRUE(bytes.ok()) << bytes.error().reason;
  const std::vector<std::string> fields = SplitHelpFields(text::AnsiToUtf8(bytes.value()));
  const Texts texts = HelpTextsFromFields(fields, [] {});
  ASSERT_EQ(texts.size(), 10u);
  EXPECT_EQ(fields.size(), 10u) << "a field without '=' replaced a text";
  for (const std::string& t : texts) {
    EXPECT_GT(t.size(), 30u) << t;
    EXPECT_EQ(t.find('&'), std::string::npos) << t;
  }
}

}  // namespace
}  // namespace vexmar::help
