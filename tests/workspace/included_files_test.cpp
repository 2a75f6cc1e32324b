// The kinds of file `vexmar-ebc new --include` adds to the scan's seven.
#include "workspace/included_files.h"

#include <gtest/gtest.h>

#include "support/fake_file_system.h"

namespace vexmar::workspace {
namespace {

using Names = std::vector<std::string>;

TEST(IncludedSuffixes, MatchTheNameEndInAnyLetterCaseAndWebStandsForTheUsualSet) {
  const IncludedSuffixes web = IncludedSuffixes::Parse("web").value();
  for (const char* name : {"site.css", "MENU.JS", "Logo.Svg", "f.woff2", "data.json", "a.pdf"}) {
    EXPECT_TRUE(web.Matches(name)) << name;
  }
  for (const char* name : {"page.htm", "song.mp3", "css", "style.css.bak"}) {
    EXPECT_FALSE(web.Matches(name)) << name;
  }
  const IncludedSuffixes own = IncludedSuffixes::Parse(" .MP3, ,LICENSE,web").value();
  for (const char* name : {"song.mp3", "LICENSE", "site.css"}) EXPECT_TRUE(own.Matches(name));
  EXPECT_FALSE(IncludedSuffixes().Matches("site.css"));  // nothing included
  EXPECT_EQ(IncludedSuffixes::Parse(" , ").error().reason, "the list names no suffix");
  EXPECT_EQ(IncludedSuffixes::Parse(".css,img/.png").error().reason,
            "\"img/.png\" cannot end a file name");
  EXPECT_FALSE(IncludedSuffixes::Parse("*.css"));
}

// The folder's own files first, then its sub-folders', leaving out what the
// seven suffixes have listed already; no more than the room.
TEST(IncludedFiles, AfterWhatTheScanListsTopFolderFirstThenSubFolders) {
  testing::FakeFileSystem files;
  const std::string s(1, fs::PathSeparator()), top = "P" + s;
  files.listings[top] = {{"index.htm", "Site.CSS", "logo.svg", "logo.gif", "notes.doc"}};
  files.subfolders = {{top, {"js", "css"}}};
  files.listings[top + "css" + s] = {{"print.css", "back.png"}};
  files.listings[top + "js" + s] = {{"menu.js"}};
  const IncludedSuffixes included = IncludedSuffixes::Parse(".css,.js,.svg,.png").value();
  EXPECT_EQ(ListIncludedEntries(files, top, included, false, 9).value(),
            (Names{"Site.CSS", "logo.svg"}));
  EXPECT_EQ(ListIncludedEntries(files, top, included, true, 9).value(),
            (Names{"Site.CSS", "logo.svg", "css\\print.css", "js\\menu.js"}));
  EXPECT_FALSE(ListIncludedEntries(files, top, included, true, 3));
  EXPECT_FALSE(ListIncludedEntries(files, top, included, false, 1));
}

}  // namespace
}  // namespace vexmar::workspace
