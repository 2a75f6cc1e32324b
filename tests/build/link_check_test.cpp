// The link check on one project made on disk: every kind of finding and
// every form a reference takes, resolved as the viewer resolves it.
#include "build/link_check.h"

#include <gtest/gtest.h>

#include <tuple>

#include "book/page_links.h"
#include "support/temp_folder.h"

namespace vexmar::build {
namespace {

using book::PageLinks;
using book::PageReference;
using book::ScanPage;

using Row = std::tuple<std::string, std::string, std::size_t, std::string>;

std::vector<Row> Rows(const std::vector<LinkFinding>& findings) {
  std::vector<Row> rows;
  for (const LinkFinding& f : findings)
    rows.emplace_back(KindWord(f.kind), f.page, f.line, f.target);
  return rows;
}

TEST(LinkCheck, FindsEveryKindInEveryFormOfReference) {
  testing::TempFolder project;
  project.Write("index.htm",
                "<html><head><link rel=stylesheet href=\"style.css\">\n"                    // 1
                "<style>body { background: url( 'images/back.png' ) }\n"                    // 2
                "  .x { background: url(gone.png) } /* url(old.png) */</style>\n"           // 3
                "</head><body background=\"Images/BACK.PNG\" id=\"here\">\n"                // 4
                "<!-- <a href=\"old.htm\">a link kept for later</a> -->\n"                  // 5
                "<a href=\"seeds.htm?x=1&amp;y=2#sow\">ok</a> <a href='seeds.htm#reap'>\n"  // 6
                "<a href=\"#here\"></a><a href=\"#nowhere\"></a><a href=\"#top\"></a>\n"    // 7
                "<img srcset=\"images/small.png 1x, images/big.png 2x\">\n"                 // 8
                "<img src=\"http://example.com/x.png\"><a href=\"MAILTO:a@b.c\">\n"         // 9
                "<a href=\"notes.txt\">\n"                                                  // 10
                "<img src=\"C:\\pics\\a.gif\"><img src=\"/top.gif\"><a href=\"file:///x.htm\">"
                "<a href=\"../up.htm\">\n"                                        // 11
                "<div style=\"background: url(&quot;images/none.png&quot;)\">\n"  // 12
                "<a href=\"caf%C3%A9.htm\"><script>var s = '<img src=\"s.png\">';</script>\n"
                // a path the book does not hold, but the viewer finds by its bare name
                "<img src=\"pictures/seeds.htm\">\n"
                "</body></html>\n");
  project.Write("seeds.htm", "<h1><a name=\"sow\">Sow</a></h1>");
  project.Write("caf\xC3\xA9.htm", "<p>coffee</p>");
  project.Write("style.css",
                "body { background: url(images/back.png) }\n@import \"more.css\";\n"
                ".y { background: url(\"../out.png\") }\n");
  project.Write("notes.txt");
  project.Write("start.htm");
  project.Write("images/back.png");
  project.Write("images/small.png");
  project.Write("images/big.png");
  project.Write("sub/page.htm",
                "<link href=\"../style.css\"><a href=\"../index.htm#here\">\n"
                "<img src=\"pic.png\"><img src=\"../images/back.png\">");

  const LinkCheckInput input{project.Path(),
                             {"index.htm", "seeds.htm", "caf\xC3\xA9.htm", "style.css",
                              "images/back.png", "images\\small.png", "sub\\page.htm", "gone.gif"},
                             "start.htm",
                             {}};
  EXPECT_EQ(Rows(CheckLinks(fs::RealFileSystem(), input)),
            (std::vector<Row>{
                {"missing", "gone.gif", 0, ""},  // checked, yet no file
                {"missing", "index.htm", 3, "gone.png"},
                {"anchor", "index.htm", 6, "seeds.htm#reap"},
                {"anchor", "index.htm", 7, "#nowhere"},
                {"unchecked", "index.htm", 8, "images/big.png"},
                {"unchecked", "index.htm", 10, "notes.txt"},
                {"outside", "index.htm", 11, "C:\\pics\\a.gif"},
                {"outside", "index.htm", 11, "/top.gif"},
                {"outside", "index.htm", 11, "file:///x.htm"},
                {"outside", "index.htm", 11, "../up.htm"},
                {"missing", "index.htm", 12, "images/none.png"},
                {"home", "start.htm", 0, ""},
                {"missing", "style.css", 2, "more.css"},
                {"outside", "style.css", 3, "../out.png"},
                {"missing", "sub\\page.htm", 2, "pic.png"},
            }));
}

// A file of a kind no scan offered is `unlisted`, and the message names the
// --include; a kind the list holds was included, so it is `unchecked`. The
// name on disk decides: the window's scan does not offer PHOTO.JPG.
TEST(LinkCheck, TellsAFileToCheckFromAKindToInclude) {
  testing::TempFolder project;
  project.Write("index.htm",
                "<script src=\"js/menu.js?v=2\"></script>\n"
                "<img src=\"pics/a.svg\"><img src=\"photo.jpg\">\n");
  for (const char* name : {"js/menu.js", "logo.svg", "pics/a.svg", "PHOTO.JPG"})
    project.Write(name);
  const std::vector<LinkFinding> findings =
      CheckLinks(fs::RealFileSystem(),
                 {project.Path(), {"index.htm"}, "index.htm", {"index.htm", "logo.svg"}});
  EXPECT_EQ(Rows(findings), (std::vector<Row>{{"unlisted", "index.htm", 1, "js/menu.js?v=2"},
                                              {"unchecked", "index.htm", 2, "pics/a.svg"},
                                              {"unlisted", "index.htm", 2, "photo.jpg"}}));
  EXPECT_EQ(InPlainWords(findings[0]),
            "index.htm, line 1: \"js/menu.js?v=2\" is a kind of file the file list does not "
            "offer, so the e-book will not carry it; list such files with vexmar-ebc new "
            "--include .js.");
}

TEST(PageLinks, ReadsTagsAsABrowserDoesWhateverTheBytes) {
  const PageLinks links = ScanPage(
      "<A HREF=a.htm>x</A><img\nsrc = 'b&#x2F;c.gif' alt=\"<a href=no.htm>\">"
      "<textarea><a href=no.htm></textarea><base href=\"http://x/\">"
      "<p ID=p1><a name=n1 href=\"d.htm\">"
      "<img srcset=\"e.png, f(1).png 2x,g.png\">"
      "<!-- unterminated <a href=no.htm>");
  std::vector<std::pair<std::string, std::size_t>> references;
  for (const PageReference& r : links.references) references.emplace_back(r.target, r.line);
  EXPECT_EQ(references, (std::vector<std::pair<std::string, std::size_t>>{{"a.htm", 1},
                                                                          {"b/c.gif", 2},
                                                                          {"d.htm", 2},
                                                                          {"e.png", 2},
                                                                          {"f(1).png", 2},
                                                                          {"g.png", 2}}));
  EXPECT_EQ(links.anchors, (std::vector<std::string>{"p1", "n1"}));
  // A page cut off anywhere still scans (the sanitizer build watches the bounds).
  for (const auto& [cut, found] : {std::pair{"<a href=\"x", 1u},
                                   {"<a href=", 1u},
                                   {"<a", 0u},
                                   {"<style>url(", 1u},
                                   {"<!-", 0u},
                                   {"<p id=&#", 1u}}) {
    EXPECT_EQ(ScanPage(cut).references.size() + ScanPage(cut).anchors.size(), found) << cut;
  }
}

}  // namespace
}  // namespace vexmar::build
