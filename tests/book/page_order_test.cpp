#include "book/page_order.h"

#include <gtest/gtest.h>

#include <map>

#include "viewer/latin1_decoder.h"

namespace vexmar::book {
namespace {

using Links = std::map<std::size_t, std::vector<std::string>>;

// The order as page names, each page's links asked for at most once.
std::vector<std::string> Order(std::size_t index, const std::vector<std::string>& pages,
                               const Links& links, AnsiDecoder ansi = nullptr) {
  std::vector<std::size_t> asked;
  std::vector<std::size_t> order = ReadingOrder(
      index, pages,
      [&](std::size_t page) {
        asked.push_back(page);
        const auto found = links.find(page);
        return found == links.end() ? std::vector<std::string>{} : found->second;
      },
      ansi);
  std::vector<std::string> names;
  for (const std::size_t page : order) names.push_back(pages[page]);
  // Pages are asked for in the order they are placed, so a caller can read
  // each one as the order reaches it.
  order.resize(asked.size());
  EXPECT_EQ(order, asked);
  return names;
}

TEST(PageOrder, BreadthFirstFromTheIndexThenTheUnreachedInListOrder) {
  const std::vector<std::string> pages = {"z.htm",    "b.htm", "index.htm", "a.htm",
                                          "deep.htm", "c.htm", "lone.htm"};
  const Links links = {{2, {"b.htm", "a.htm", "b.htm", "index.htm"}},  // document order
                       {1, {"deep.htm"}},
                       {3, {"c.htm"}}};
  EXPECT_EQ(Order(2, pages, links),
            (std::vector<std::string>{"index.htm", "b.htm", "a.htm", "deep.htm", "c.htm", "z.htm",
                                      "lone.htm"}));
  // No index page among the pages: the list as it is.
  EXPECT_EQ(Order(pages.size(), pages, links), pages);
}

TEST(PageOrder, LinksResolveAsABrowserResolvesThem) {
  const std::vector<std::string> pages = {"index.htm",
                                          "Part 1/Intro.htm",
                                          "part 1\\two.html",
                                          "Café.htm",
                                          "top.htm",
                                          "img/logo.htm",
                                          "q.htm",
                                          "sub/deep/x.htm",
                                          "bare.htm",
                                          "ansi\xC3\xA9.htm",
                                          "outside.htm"};
  const Links links = {
      {0,
       {"http://example.com/outside.htm", "/outside.htm", "mailto:a@b", "C:outside.htm",
        "../outside.htm", "img/", "nothing.htm", "  PART%201/intro.HTM#start  ", "q.htm?x=1#y",
        "Caf%C3%A9.htm"}},
      {1, {"./two.html", "..\\top.htm", "../sub/./deep/../deep/x.htm", "#here", ""}},
      {7, {"bare.htm", "../../ansi%E9.htm"}},  // bare.htm is not in sub\deep: found by name
  };
  EXPECT_EQ(Order(0, pages, links, viewer::testing::Latin1ToUtf8),
            (std::vector<std::string>{"index.htm", "Part 1/Intro.htm", "q.htm", "Café.htm",
                                      "part 1\\two.html", "top.htm", "sub/deep/x.htm", "bare.htm",
                                      "ansi\xC3\xA9.htm", "img/logo.htm", "outside.htm"}));
  // Without a code page, an escape that is no UTF-8 names no page.
  EXPECT_EQ(Order(0, {"index.htm", "\xC3\xA9.htm"}, {{0, {"%E9.htm"}}}).back(), "\xC3\xA9.htm");
}

TEST(PageOrder, TitleIsTheTitleElseTheHeadingElseTheLabel) {
  EXPECT_EQ(PageTitle({"Title", "Heading", "text"}, "a.htm"), "Title");
  EXPECT_EQ(PageTitle({"", "Heading", "text"}, "a.htm"), "Heading");
  EXPECT_EQ(PageTitle({}, "sub\\chapter.one.htm"), "chapter");
  EXPECT_EQ(PageTitle({}, "sub/Read me"), "Read me");
  EXPECT_EQ(PageTitle({}, "sub/.htm"), ".htm");  // no label: the name
}

}  // namespace
}  // namespace vexmar::book
