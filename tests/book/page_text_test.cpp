#include "book/page_text.h"

#include <gtest/gtest.h>

#include "platform/text/utf.h"
#include "viewer/latin1_decoder.h"

namespace vexmar::book {
namespace {

using viewer::testing::Latin1ToUtf8;

TEST(ReadPageText, AWebPageGivesWhatItShowsItsTitleAndFirstHeading) {
  const PageText page = ReadPageText(
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\">\n"
      "<title>  Caf\xC3\xA9 &amp;\n Tea </title><style>p { color: red }</style>\n"
      "<script>if (a < b) document.write('<p>no</p>');</script></head>\n"
      "<body><!-- <h1>hidden</h1> --><noscript>Turn scripts on</noscript>\n"
      "<H2 class='x>y'>The <b>W</b>ord</h2><p>Tom&apos;s &lt;tag&gt; &copy; &#233;&#xE9; &#150; "
      "AT&T &unknown; &nbsp;x<br>y</p><div>a</div>b<h1>Later</h1></body></html>",
      true, Latin1ToUtf8);
  EXPECT_EQ(page.title, "Caf\xC3\xA9 & Tea");
  EXPECT_EQ(page.heading, "The Word");
  EXPECT_EQ(
      page.text,
      "The Word Tom's <tag> \xC2\xA9 \xC3\xA9\xC3\xA9 \xE2\x80\x93 AT&T &unknown; x y a b Later");
}

TEST(ReadPageText, EachEncodingIsReadAsBrowsersRead) {
  // No mark, no declaration: the ANSI code page.
  EXPECT_EQ(ReadPageText("<title>Caf\xE9</title><p>na\xEFve", true, Latin1ToUtf8).text,
            "na\xC3\xAFve");
  EXPECT_EQ(ReadPageText("<title>Caf\xE9</title>", true, Latin1ToUtf8).title, "Caf\xC3\xA9");
  // A declaration in http-equiv's form.
  EXPECT_EQ(ReadPageText("<meta http-equiv=Content-Type content='text/html; charset=UTF-8'>"
                         "<p>\xE6\x97\xA5\xE6\x9C\xAC",
                         true, Latin1ToUtf8)
                .text,
            "\xE6\x97\xA5\xE6\x9C\xAC");
  // UTF-16 with its mark, little- and big-endian; a text file is its text.
  EXPECT_EQ(ReadPageText(std::string("\xFF\xFE<\0p\0>\0\xE9\0!\0", 12), true, Latin1ToUtf8).text,
            "\xC3\xA9!");
  EXPECT_EQ(ReadPageText(std::string("\xFE\xFF\0<\0b\0>\0a", 10), false, Latin1ToUtf8).text,
            "<b>a");
  // Malformed UTF-8 comes out as U+FFFD, never as bytes that are not text.
  EXPECT_EQ(ReadPageText("\xEF\xBB\xBFok\xFF", false, Latin1ToUtf8).text, "ok\xEF\xBF\xBD");
}

TEST(ReadPageText, TwoAndThreeByteSequencesAreCheckedAsTheCodecChecksThem) {
  // Every lead of two and three bytes, with continuations at the edges of
  // their ranges (overlong forms, surrogates) and bytes that are none.
  for (unsigned lead = 0xC0; lead < 0xF0; ++lead) {
    for (const unsigned second : {0x41u, 0x80u, 0x9Fu, 0xA0u, 0xBFu, 0xC0u}) {
      for (const unsigned third : {0x41u, 0x80u, 0xBFu}) {
        const std::string body{'a', static_cast<char>(lead), static_cast<char>(second),
                               static_cast<char>(third), 'z'};
        std::string expected;
        for (std::size_t at = 0; at < body.size();) {
          utf::AppendUtf8(expected, utf::NextCodePoint(body, at));
        }
        EXPECT_EQ(ReadPageText("\xEF\xBB\xBF" + body, false, Latin1ToUtf8).text, expected)
            << lead << ' ' << second << ' ' << third;
      }
    }
  }
}

TEST(ReadPageText, UnfinishedMarkupEndsThePageAsBrowsersEndIt) {
  EXPECT_EQ(ReadPageText("a<!-- b", true, nullptr).text, "a");
  EXPECT_EQ(ReadPageText("a<script>b", true, nullptr).text, "a");
  EXPECT_EQ(ReadPageText("a<p title=\"b>c", true, nullptr).text, "a");
  EXPECT_EQ(ReadPageText("1 < 2 <3 &#; &# &#99999999999; x&", true, nullptr).text,
            "1 < 2 <3 &#; &# \xEF\xBF\xBD x&");
  const PageText page =
      ReadPageText("<h1><img src=a.gif></h1><h3>Second</h3><title>T", true, nullptr);
  EXPECT_EQ(page.heading, "Second");
  EXPECT_EQ(page.title, "T");
}

}  // namespace
}  // namespace vexmar::book
