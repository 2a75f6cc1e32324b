// vexmar-ebc check, and the link check in vexmar-ebc build: what they print,
// their exit codes, and --strict building nothing.
#include <gtest/gtest.h>

#include "cli/arguments.h"
#include "cli/command_line_fixture.h"
#include "cli/commands.h"

namespace vexmar::cli {
namespace {

class CheckCommandLine : public CommandLineTest {
 protected:
  void SetUp() override {
    dir_.Write("book/index.htm",
               "<link href=\"style.css\" rel=stylesheet>\n<img src=\"pic\t.gif\">\n"
               "<a href=\"seeds.htm#sow\">Sow</a> <a href=\"http://example.com/x\">");
    dir_.Write("book/seeds.htm", "<h1 id=\"reap\">Reap</h1>");
    dir_.Write("book/style.css", "p { }");  // no file the window's scan lists
    ASSERT_EQ(NewProject("book", "Book"), kExitDone) << err_;
  }
};

TEST_F(CheckCommandLine, PrintsFindingsAsLinesOrJsonWithTheirExitCodes) {
  EXPECT_EQ(Run(CheckCommand, {P("book.ebc")}), kExitFindings) << err_;
  EXPECT_EQ(out_,
            "unlisted\tindex.htm\tstyle.css\n"
            "missing\tindex.htm\tpic\\x09.gif\n"  // a browser drops the tab; a terminal shows it
            "anchor\tindex.htm\tseeds.htm#sow\n");
  EXPECT_EQ(Run(CheckCommand, {P("book.ebc"), "--json"}), kExitFindings) << err_;
  EXPECT_EQ(out_,
            "[\n"
            "  {\"kind\": \"unlisted\", \"page\": \"index.htm\", \"line\": 1, \"target\": "
            "\"style.css\"},\n"
            "  {\"kind\": \"missing\", \"page\": \"index.htm\", \"line\": 2, \"target\": "
            "\"pic\\u0009.gif\"},\n"
            "  {\"kind\": \"anchor\", \"page\": \"index.htm\", \"line\": 3, \"target\": "
            "\"seeds.htm#sow\"}\n"
            "]\n");

  // Listed by --include, the style sheet is kept by the settings file and found.
  ASSERT_EQ(NewProject("book", "Book", {"--include", ".CSS"}), kExitDone) << err_;
  EXPECT_EQ(Run(CheckCommand, {P("book.ebc")}), kExitFindings) << err_;
  EXPECT_EQ(out_.find("style.css"), std::string::npos) << out_;
  EXPECT_EQ(NewProject("book", "Book", {"--include", "a/b.css"}), kExitUsage);

  EXPECT_EQ(Run(CheckCommand, {}), kExitUsage);
  EXPECT_EQ(Run(CheckCommand, {P("nothing.ebc")}), kExitFailed);
  dir_.Write("book/index.htm", "<a href=\"SEEDS.HTM#reap\">Reap</a>");
  EXPECT_EQ(Run(CheckCommand, {P("book.ebc"), "--json"}), kExitDone) << err_;
  EXPECT_EQ(out_, "[]\n");
}

TEST_F(CheckCommandLine, BuildPrintsTheFindingsAndStrictBuildsNothing) {
  EXPECT_EQ(Build("book", {"--strict"}), kExitFailed);
  EXPECT_NE(err_.find("vexmar-ebc build: anchor: index.htm, line 3: \"seeds.htm#sow\" names a "
                      "place that its page does not have.\n"),
            std::string::npos)
      << err_;
  EXPECT_NE(err_.find("--strict: the link check found 3 problems; nothing was built"),
            std::string::npos);
  EXPECT_EQ(dir_.Read("Book.exe"), "");

  EXPECT_EQ(Build("book"), kExitDone) << err_;
  EXPECT_NE(err_.find("Check Links: The link check found these problems"), std::string::npos);
  EXPECT_NE(dir_.Read("Book.exe"), "");
}

}  // namespace
}  // namespace vexmar::cli
