#include "book/search_tokens.h"

#include <gtest/gtest.h>

#include "book/unicode_tables.h"
#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

std::vector<std::string> Terms(std::string_view text) {
  std::vector<std::string> terms;
  for (const SearchToken& token : Tokenize(text)) terms.push_back(token.term);
  return terms;
}

using Words = std::vector<std::string>;

TEST(Tokenize, EveryFormOfAWordGivesOneTerm) {
  // Composed, decomposed and capital: "café", "cafe" + U+0301, "CAFÉ", "CAFE" + U+0301.
  for (const char* cafe : {"caf\xC3\xA9", "cafe\xCC\x81", "CAF\xC3\x89", "CAFE\xCC\x81"}) {
    EXPECT_EQ(Terms(cafe), Words{"caf\xC3\xA9"}) << cafe;
  }
  // Marks out of canonical order: dot below (220) and circumflex (230) either way.
  EXPECT_EQ(Terms("a\xCC\x82\xCC\xA3"), Terms("\xE1\xBA\xAD"));
  EXPECT_EQ(Terms("a\xCC\xA3\xCC\x82"), Terms("\xE1\xBA\xAD"));
  // German sharp s folds fully, the capital one too.
  for (const char* street : {"Stra\xC3\x9F"
                             "e",
                             "STRASSE",
                             "STRA\xE1\xBA\x9E"
                             "E"}) {
    EXPECT_EQ(Terms(street), Words{"strasse"}) << street;
  }
  // Greek: capitals, final sigma and accents; Cyrillic capitals.
  EXPECT_EQ(
      Terms("\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91 \xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1"
            " \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 \xCE\x9B\xCE\x8C\xCE\x93\xCE\x9F\xCE\xA3"),
      (Words{"\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1",
             "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x83",
             "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x83"}));
  EXPECT_EQ(Terms("\xD0\x9C\xD0\x9E\xD0\xA1\xD0\x9A\xD0\x92\xD0\x90 "
                  "\xD0\xBC\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"),
            (Words{"\xD0\xBC\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0",
                   "\xD0\xBC\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0"}));
}

TEST(Tokenize, WordsEndAtPunctuationAndKeepTheirPlaceInBytes) {
  const std::string text = "  Don't \xC3\x89t\xC3\xA9-2026, hy\xC2\xADphen!";
  const std::vector<SearchToken> tokens = Tokenize(text);
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(Terms(text), (Words{"don", "t", "\xC3\xA9t\xC3\xA9", "2026", "hyphen"}));
  EXPECT_EQ(tokens[0].offset, 2u);
  EXPECT_EQ(tokens[0].length, 3u);
  EXPECT_EQ(text.substr(tokens[2].offset, tokens[2].length), "\xC3\x89t\xC3\xA9");
  EXPECT_EQ(text.substr(tokens[4].offset, tokens[4].length), "hy\xC2\xADphen");
  // Malformed bytes split words and never reach a term.
  for (const SearchToken& token : Tokenize("ab\xFF"
                                           "cd\xE2\x82 e\xF0\x9F")) {
    EXPECT_TRUE(utf::IsValidUtf8(token.term)) << token.term;
  }
  EXPECT_EQ(Terms("ab\xFF"
                  "cd\xE2\x82 e\xF0\x9F"),
            (Words{"ab", "cd", "e"}));
}

TEST(Tokenize, ChineseJapaneseAndKoreanRunsGivePairs) {
  // 日本語を勉強 (Japanese: kanji and hiragana make one run).
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x82\x92";
  const std::vector<SearchToken> tokens = Tokenize(japanese);
  EXPECT_EQ(Terms(japanese), (Words{"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x9C\xAC\xE8\xAA\x9E",
                                    "\xE8\xAA\x9E\xE3\x82\x92"}));
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[1].offset, 3u);
  EXPECT_EQ(tokens[1].length, 6u);
  // 中文 next to Latin and digits; a lone 猫 is a word of its own.
  EXPECT_EQ(Terms("Go\xE4\xB8\xAD\xE6\x96\x87"
                  "3 \xE7\x8C\xAB"),
            (Words{"go", "\xE4\xB8\xAD\xE6\x96\x87", "3", "\xE7\x8C\xAB"}));
  // ラーメン: the prolonged sound mark belongs to the katakana run.
  EXPECT_EQ(Terms("\xE3\x83\xA9\xE3\x83\xBC\xE3\x83\xA1\xE3\x83\xB3").size(), 3u);
  // か + combining voiced mark is が, as the composed one is.
  EXPECT_EQ(Terms("\xE3\x81\x8B\xE3\x82\x99\xE3\x81\x84"), Terms("\xE3\x81\x8C\xE3\x81\x84"));
  // 한국 in syllables and in conjoining jamo.
  EXPECT_EQ(Terms("\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB\xE1\x84\x80\xE1\x85\xAE\xE1\x86\xA8"),
            Words{"\xED\x95\x9C\xEA\xB5\xAD"});
}

TEST(Tokenize, ARebuiltTermNeverLeaksIntoTheNext) {
  // Terms the text holds as they are, terms rebuilt from it (capitals, a
  // soft hyphen, a decomposed mark) and pairs, side by side: a rebuilt term
  // is made in a buffer the next one reuses.
  const std::string text =
      "word WORD hy\xC2\xADphen cafe\xCC\x81 x \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E Ab";
  EXPECT_EQ(Terms(text), (Words{"word", "word", "hyphen", "caf\xC3\xA9", "x",
                                "\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x9C\xAC\xE8\xAA\x9E", "ab"}));
}

TEST(Tokenize, ItsDecoderReadsEveryShortSequenceAsTheCodecDoes) {
  // Every lead and continuation for two bytes; for three, the leads where
  // overlong forms (E0), surrogates (ED) and plain ones (EF) are told apart.
  std::vector<std::string> sequences;
  for (unsigned first = 0; first < 256; ++first) {
    for (unsigned second = 0; second < 256; ++second) {
      sequences.push_back({static_cast<char>(first), static_cast<char>(second)});
      if (first != 0xE0 && first != 0xED && first != 0xEF) continue;
      for (unsigned third = 0x70; third < 0xD0; ++third) {
        sequences.push_back(sequences.back() + static_cast<char>(third));
      }
    }
  }
  for (const std::string& bytes : sequences) {
    std::size_t codecAt = 0;
    std::size_t ourAt = 0;
    char32_t ours = 0;
    unicode::ReadChar(bytes, ourAt, ours);
    ASSERT_EQ(ours, utf::NextCodePoint(bytes, codecAt));
    ASSERT_EQ(ourAt, codecAt);
  }
}

}  // namespace
}  // namespace vexmar::book
