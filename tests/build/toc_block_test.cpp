#include "build/toc_block.h"

#include <gtest/gtest.h>

namespace vexmar::build {
namespace {

TEST(TocBlock, TheIndexPagesNameChoosesTheForm) {
  for (const char* html : {"index.htm", "index.HTM", "Book.Html", "a/b/c.html"}) {
    EXPECT_EQ(TocFormFor(html), TocForm::Html) << html;
  }
  for (const char* plain : {"readme.txt", "page.shtml", "index.htm.txt", "html", "photo.jpg"}) {
    EXPECT_EQ(TocFormFor(plain), TocForm::Plain) << plain;
  }
}

// Names that would break the markup are escaped; the plain form is no markup.
TEST(TocBlock, HtmlFormListsEscapedLinksPlainFormListsLabels) {
  EXPECT_EQ(TocBlock(TocForm::Html, {"a.htm", "R&D <new> \"x\".htm"}),
            "<h2 align='left'>Table of Contents</h2>\r\n"
            "<A HREF='a.htm'>a</A><BR>\r\n"
            "<A HREF='R&amp;D &lt;new&gt; &quot;x&quot;.htm'>R&amp;D &lt;new&gt; &quot;x&quot;</A>"
            "<BR>\r\n");
  // A label is the entry's bare name up to its first "."; a name without one is its own label.
  EXPECT_EQ(TocBlock(TocForm::Plain,
                     {"Tom's page.htm", "chapter.one.htm", "sub\\page.htm", "html", ".htm"}),
            "Table of Contents\r\n\r\nTom's page\r\nchapter\r\npage\r\nhtml\r\n\r\n");
  EXPECT_EQ(TocBlock(TocForm::Html, {}), "<h2 align='left'>Table of Contents</h2>\r\n");
}

// Only what TocBlock writes counts as an earlier block; the page's own lines never do.
TEST(TocBlock, AnEarlierBlockIsRecognisedByItsOwnLinesOnly) {
  const std::string html = TocBlock(TocForm::Html, {"a.htm", "R&D.htm"});
  const std::string plain = TocBlock(TocForm::Plain, {"a.htm", "b.txt"});
  const std::vector<std::string> entries = {"a.htm", "b.txt", "c.htm"};
  const std::pair<std::string, size_t> cases[] = {
      {html + "<p>Welcome</p>\r\n", html.size()},
      {html + "<A HREF='x'>y</A>\r\n", html.size()},  // not a line of ours
      {html, html.size()},
      {"<h2>Table of Contents</h2>\r\n<p>x</p>", 0},
      {plain + "c\r\nOwn text\r\n", plain.size() + 3},
      {plain + "d\r\n", plain.size()},
      {"Table of Contents\r\nx\r\n", 0},
  };
  for (const auto& [page, length] : cases) {
    const TocForm form = page[0] == '<' ? TocForm::Html : TocForm::Plain;
    EXPECT_EQ(EarlierBlockLength(page, form, entries, PageEncoding::Ansi), length) << page;
  }
}

}  // namespace
}  // namespace vexmar::build
