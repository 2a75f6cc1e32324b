// The contents and the search index a build writes, read back from the book
// by inspect and by an independent PE reader.
#include <gtest/gtest.h>

#include <cstdio>

#include "book/search_index.h"
#include "cli/arguments.h"
#include "cli/command_line_fixture.h"
#include "support/source_path.h"

namespace vexmar::cli {
namespace {

// The index page reaches the table of contents' page first (the block goes
// in front of the index page, and the book carries the page with it), then
// its own links; a chapter reaches the next through "../" and an escape.
// The style sheet and the picture are no pages.
TEST_F(CommandLineTest, TheBookCarriesItsPagesInReadingOrderWithTitles) {
  dir_.Write("reader/index.htm",
             "<title>Home</title><link rel=stylesheet href=style.css><img src=pic.gif>"
             "<a href='chapters/one.htm#start'>1</a> <a href='NOTES.TXT'>n</a>");
  dir_.Write("reader/chapters/one.htm", "<h1>Chapter One</h1><a href='../chapters/two%20b.htm'>");
  dir_.Write("reader/chapters/two b.htm", "<p>no title</p>");
  dir_.Write("reader/Notes.txt", "plain notes");
  dir_.Write("reader/lone.html", "<title>Alone</title>");
  dir_.Write("reader/zz.htm", "<p>nobody links here</p>");
  dir_.Write("reader/style.css", "p {}");
  dir_.Write("reader/pic.gif", "GIF89a");
  ASSERT_EQ(NewProject("reader", "Reader", {"--recursive", "--toc", "lone.html"}), kExitDone)
      << err_;
  ASSERT_EQ(Build("reader"), kExitDone) << err_;
  ASSERT_EQ(Run(InspectCommand, {P("Reader.exe")}), kExitDone) << err_;
  EXPECT_NE(out_.find("\ncontents:     6 pages\nsearch:       6 pages, "), std::string::npos)
      << out_;
#ifndef _WIN32  // pefile reads the book on the Linux side
  const std::string read = "/usr/bin/python3 " +
                           testing::SourcePath("tests/cli/read_reader_entries.py") + " " +
                           P("Reader.exe") + " " + P("search.bin");
  std::FILE* pipe = popen(read.c_str(), "r");
  std::string seen(4096, '\0');
  seen.resize(std::fread(seen.data(), 1, seen.size(), pipe));
  if (WEXITSTATUS(pclose(pipe)) == 77) GTEST_SKIP() << "python3-pefile is not installed";
  EXPECT_EQ(seen,
            "INDEX.HTM\tHome\nLONE.HTML\tAlone\nCHAPTERS\\ONE.HTM\tChapter One\n"
            "NOTES.TXT\tNotes\nCHAPTERS\\TWO B.HTM\ttwo b\nZZ.HTM\tzz\n");
  const std::string bytes = dir_.Read("search.bin");
  const auto index = book::SearchIndex::Open(bytes);
  ASSERT_TRUE(index.ok()) << index.error().reason;
  ASSERT_EQ(index->pageCount(), 6u);
  EXPECT_EQ(index->pageName(4), "CHAPTERS\\TWO B.HTM");  // pages in reading order
#endif
}

}  // namespace
}  // namespace vexmar::cli
