#include "platform/text/text.h"

#include <gtest/gtest.h>

#include "platform/text/short_date.h"

namespace vexmar::text {
namespace {

TEST(Utf16, RoundTripsEveryPlaneAndMalformedInputBecomesReplacementCharacters) {
  for (const std::string s : {"", "index.htm", "Café", "日本語.htm", "😀 smile.txt"}) {
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s);
  }
  EXPECT_EQ(Utf8ToUtf16("😀"), (std::u16string{0xD83D, 0xDE00}));
  EXPECT_EQ(Utf8ToUtf16("é").size(), 1u);
  // A lone continuation byte, a truncated sequence, an overlong slash and an
  // encoded surrogate: each is one U+FFFD, and what follows still decodes.
  EXPECT_EQ(Utf8ToUtf16("a\x80z"), u"a\uFFFDz");
  EXPECT_EQ(Utf8ToUtf16("a\xE6\x97"), u"a\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80!"), u"\uFFFD\uFFFD\uFFFD!");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
}

TEST(Ansi, WesternTextPassesThroughTheCodePageAndTheRestBecomesQuestionMarks) {
  // The euro sign and the curly quotes live in 0x80..0x9F of Windows-1252.
  const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D";
  EXPECT_TRUE(FitsAnsi(text));
  EXPECT_EQ(Utf8ToAnsi(text), "Caf\xE9 \x80 \x93quoted\x94");
  EXPECT_EQ(AnsiToUtf8(Utf8ToAnsi(text)), text);
  EXPECT_FALSE(FitsAnsi("日本.htm"));
  EXPECT_EQ(Utf8ToAnsi("日本.htm"), "??.htm");
  // One question mark per character, astral ones included, never a best fit
  // that would silently name another file.
  EXPECT_EQ(Utf8ToAnsi("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToAnsi("\xC5\x82"), "?");  // "ł" is not "l"
}

// Files and records stay ANSI while they fit; otherwise UTF-8 behind the mark.
TEST(Ansi, TextThatDoesNotFitGoesAsMarkedUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"Caf\xC3\xA9", "Caf\xE9"},
      {"日本", "\xEF\xBB\xBF日本"},
      {"\xC3\xAF\xC2\xBB\xC2\xBFx", "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx"},  // "ï»¿x" is no mark
  };
  for (const auto& [utf8, bytes] : cases) {
    EXPECT_EQ(ToAnsiOrMarkedUtf8(utf8), bytes);
    EXPECT_EQ(FromAnsiOrMarkedUtf8(bytes), utf8);
  }
}

TEST(Case, UpperAndLowerCoverTheCodePagesLetters) {
  EXPECT_EQ(ToUpper("chapter 1.html café_über_ÿ"), "CHAPTER 1.HTML CAFÉ_ÜBER_Ÿ");
  EXPECT_EQ(ToUpper("œuvre šš žž ÆØÅ æøå ß ÷"), "ŒUVRE ŠŠ ŽŽ ÆØÅ ÆØÅ ß ÷");
  EXPECT_EQ(ToUpper("привет αβγ ς 日本.htm"), "ПРИВЕТ ΑΒΓ Σ 日本.HTM");
  EXPECT_EQ(ToLower("INDEX.HTM É Ÿ Ł"), "index.htm é ÿ ł");
}

// A book's names reach the terminal: no escape sequence, carriage return or
// C1 control gets through, while every other character (ä, 日) stays.
TEST(ForTerminal, ShowsControlCharactersAsTheirBytes) {
  EXPECT_EQ(ForTerminal("a\x1B]0;x\x07\rb\x7F"), "a\\x1B]0;x\\x07\\x0Db\\x7F");
  EXPECT_EQ(ForTerminal("\xC2\x9B"
                        "31m \xC3\xA4\xE6\x97\xA5\xC2\xA0"),
            "\\xC2\\x9B"
            "31m \xC3\xA4\xE6\x97\xA5\xC2\xA0");
}

// Whatever the author's short date format, a book's date carries the whole
// year, so one built in 2031 never reads as 1931.
TEST(ShortDate, KeepsTheFullYear) {
  const std::string date = ShortDate({2031, 3, 4});
  EXPECT_NE(date.find("2031"), std::string::npos) << date;
#ifndef _WIN32
  EXPECT_EQ(date, "3/4/2031");  // the C locale has no format of its own: the United States form
#endif
}

}  // namespace
}  // namespace vexmar::text
