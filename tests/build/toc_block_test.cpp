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

TEST(TocBlock, LabelsAreTheNameUpToItsFirstDot) {
  struct Case {
    const char* entry;
    const char* label;
  };
  const Case cases[] = {
      {"a.htm", "a"},
      {"b.c.htm", "b"},
      {"chapter.one.htm", "chapter"},
      {"Intro.html", "Intro"},
      {"sub\\page.htm", "page"},
      {"html", "html"},  // a name without "." is its own label
      {"pagehtml", "pagehtml"},
      {".htm", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TocLabel(c.entry), c.label) << c.entry;
}

TEST(TocBlock, HtmlFormListsLinksPlainFormListsLabels) {
  EXPECT_EQ(TocBlock(TocForm::Html, {"a.htm", "b.c.htm"}),
            "<h2 align='left'>Table of Contents</h2>\r\n"
            "<A HREF='a.htm'>a</A><BR>\r\n"
            "<A HREF='b.c.htm'>b</A><BR>\r\n");
  EXPECT_EQ(TocBlock(TocForm::Plain, {"a.htm", "notes.txt"}),
            "Table of Contents\r\n\r\na\r\nnotes\r\n");
  EXPECT_EQ(TocBlock(TocForm::Html, {}), "<h2 align='left'>Table of Contents</h2>\r\n");
}

TEST(TocBlock, NamesThatWouldBreakTheMarkupAreEscaped) {
  EXPECT_EQ(TocBlock(TocForm::Html, {"Tom's page.htm", "R&D <new> \"x\".htm"}),
            "<h2 align='left'>Table of Contents</h2>\r\n"
            "<A HREF='Tom&#39;s page.htm'>Tom&#39;s page</A><BR>\r\n"
            "<A HREF='R&amp;D &lt;new&gt; &quot;x&quot;.htm'>R&amp;D &lt;new&gt; &quot;x&quot;</A>"
            "<BR>\r\n");
  // The plain form is no markup: names stay as they are.
  EXPECT_EQ(TocBlock(TocForm::Plain, {"Tom's page.htm"}),
            "Table of Contents\r\n\r\nTom's page\r\n");
}

}  // namespace
}  // namespace vexmar::build
