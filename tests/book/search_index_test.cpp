#include "book/search_index.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "book/search_layout.h"

namespace vexmar::book {
namespace {

std::string Entry(const std::vector<std::string>& pages) {
  SearchIndexWriter writer;
  for (std::size_t i = 0; i < pages.size(); ++i) writer.AddPage("P" + std::to_string(i), pages[i]);
  return writer.Finish();
}

// The pages a query finds, best first.
std::vector<std::uint32_t> Found(const std::string& entry, std::string_view query) {
  const auto index = SearchIndex::Open(entry);
  EXPECT_TRUE(index.ok()) << index.error().reason;
  std::vector<std::uint32_t> pages;
  if (index) {
    for (const SearchHit& hit : index->Search(ParseQuery(query), 100)) pages.push_back(hit.page);
  }
  return pages;
}

using Pages = std::vector<std::uint32_t>;

TEST(SearchIndex, ReadsBackEveryPageAndWord) {
  std::vector<std::string> pages;
  for (int i = 0; i < 40; ++i) {  // enough terms for several dictionary blocks
    pages.push_back("common w" + std::to_string(i) + " x" + std::to_string(i % 3));
  }
  const std::string entry = Entry(pages);
  const auto index = SearchIndex::Open(entry);
  ASSERT_TRUE(index.ok()) << index.error().reason;
  EXPECT_EQ(index->pageCount(), 40u);
  EXPECT_EQ(index->pageName(39), "P39");
  EXPECT_EQ(index->pageName(40), "");
  for (int i = 0; i < 40; ++i)
    EXPECT_EQ(Found(entry, "w" + std::to_string(i)), Pages{Pages::value_type(i)});
  EXPECT_EQ(Found(entry, "common").size(), 40u);
  EXPECT_EQ(Found(entry, "x1").size(), 13u);
  EXPECT_EQ(Found(entry, "absent"), Pages{});
  EXPECT_EQ(Found(Entry({}), "common"), Pages{});
}

TEST(SearchIndex, RanksMoreHitsAndShorterPagesFirstThenReadingOrder) {
  const std::string entry = Entry({
      "pear apple and many other words that make this page a long one",  // one hit, long
      "plum",
      "apple apple pear",  // two hits, short
      "apple pear",        // one hit, short
      "apple pear",        // the same: after the page before it
  });
  EXPECT_EQ(Found(entry, "apple"), (Pages{2, 3, 4, 0}));
  EXPECT_EQ(Found(entry, "apple pear"), (Pages{2, 3, 4, 0}));  // every word must match
  EXPECT_EQ(Found(entry, "apple plum"), Pages{});
}

TEST(SearchIndex, FindsPhrasesOnlyWithTheirWordsSideBySide) {
  const std::string entry = Entry(
      {"the red fox ran", "a red and quick fox", "fox red", "send e-mail now", "e then mail"});
  EXPECT_EQ(Found(entry, "\"red fox\""), Pages{0});
  EXPECT_EQ(Found(entry, "red fox"), (Pages{2, 0, 1}));
  EXPECT_EQ(Found(entry, "\"fox red"), Pages{2});  // an unclosed quote runs to the end
  EXPECT_EQ(Found(entry, "e-mail"), Pages{3});     // a word of several terms is a phrase
  EXPECT_EQ(Found(entry, "\"red quick\""), Pages{});
}

TEST(SearchIndex, ExpandsPrefixesToEveryTermThatStartsSo) {
  const std::string entry = Entry({"apple", "application form", "map", "apply", "ap"});
  EXPECT_EQ(Found(entry, "appl*").size(), 3u);
  EXPECT_EQ(Found(entry, "ap*").size(), 4u);
  EXPECT_EQ(Found(entry, "appl* form"), Pages{1});
  EXPECT_EQ(Found(entry, "zz*"), Pages{});
  const SearchQuery query = ParseQuery("Ap* e-mail* \"\" *");
  EXPECT_EQ(query.prefixes, std::vector<std::string>{"ap"});
  EXPECT_EQ(query.phrases, (std::vector<std::vector<std::string>>{{"e", "mail"}}));
}

TEST(SearchIndex, SnippetsShowTheHitsMarkedAndCutOnCharacters) {
  const SearchQuery query = ParseQuery("fox \"lazy dog\"");
  EXPECT_EQ(Bracketed(MakeSnippet("The fox\n\tjumps over the lazy dog.", query)),
            "The [fox] jumps over the [lazy dog].");

  std::string page;
  for (int i = 0; i < 60; ++i) page += "\xC3\xA9t\xC3\xA9 ";  // "été ", two-byte letters
  const Snippet snippet = MakeSnippet(page + "fox " + page, query);
  const std::string marked = Bracketed(snippet);
  EXPECT_EQ(marked.substr(0, 3), "\xE2\x80\xA6");
  EXPECT_EQ(marked.substr(marked.size() - 3), "\xE2\x80\xA6");
  EXPECT_NE(marked.find(" [fox] "), std::string::npos);
  EXPECT_LE(snippet.text.size(), 170u);
  const std::string inner = snippet.text.substr(3, snippet.text.size() - 6);  // "é" kept whole
  EXPECT_EQ(std::count(inner.begin(), inner.end(), '\xC3'),
            std::count(inner.begin(), inner.end(), '\xA9'));
  EXPECT_NE(inner.front(), '\xA9');
  EXPECT_NE(inner.back(), '\xC3');
  EXPECT_EQ(MakeSnippet("nothing here", query).hits.size(), 0u);
}

TEST(SearchIndex, RefusesADamagedEntryAndNeverReadsPastOne) {
  const std::string good = Entry({"alpha beta gamma", "beta delta", "gamma alpha alpha"});
  ASSERT_TRUE(SearchIndex::Open(good).ok());
  const auto withField = [&](std::size_t at, std::uint32_t value) {
    std::string field;
    search_layout::PutU32(field, value);
    return std::string(good).replace(at, 4, field);
  };
  const auto size = static_cast<std::uint32_t>(good.size());
  std::string blockOutside = good;
  blockOutside[search_layout::GetU32(good, 24) + 4] = 0x7F;  // the second block's offset
  for (const std::string& bad :
       {good.substr(0, good.size() - 1), good.substr(0, 20), "VXSEARCX" + good.substr(8),
        withField(8, 2), withField(24, size + 1), withField(32, 41), withField(12, 1000),
        withField(16, 99), blockOutside}) {
    EXPECT_FALSE(SearchIndex::Open(bad).ok());
  }
  // Any byte changed: Open refuses it or every search stays in bounds (the
  // sanitizers watch).
  for (std::size_t at = 0; at < good.size(); ++at) {
    for (const char value : {'\0', '\x7F', '\xFF'}) {
      std::string damaged = good;
      damaged[at] = value;
      const auto index = SearchIndex::Open(damaged);
      if (!index) continue;
      for (const char* query : {"alpha", "\"gamma alpha\"", "a*", "beta gamma"}) {
        EXPECT_LE(index->Search(ParseQuery(query), 10).size(), 3u);
      }
    }
  }
}

}  // namespace
}  // namespace vexmar::book
