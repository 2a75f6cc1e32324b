// The kinds of file `vexmar-ebc new --include` adds to the scan's seven.
#include "workspace/included_files.h"

#include <gtest/gtest.h>

#include "support/fake_file_system.h"

namespace vexmar::workspace {
namespace {

// Name endings in any letter case, "web" for the usual set; the folder's own
// files first, then its sub-folders', leaving out what the seven suffixes
// listed already; no more than the room.
TEST(IncludedFiles, MatchInAnyCaseTopFolderFirstAndNothingTheScanListed) {
  const IncludedSuffixes web = IncludedSuffixes::Parse(" .MP3, ,LICENSE,web").value();
  for (const char* name : {"song.mp3", "LICENSE", "Site.CSS", "f.woff2"}) {
    EXPECT_TRUE(web.Matches(name)) << name;
  }
  EXPECT_FALSE(web.Matches("style.css.bak"));
  EXPECT_FALSE(IncludedSuffixes::Parse(" , "));
  EXPECT_EQ(IncludedSuffixes::Parse("img/.png").error().reason,
            "\"img/.png\" cannot end a file name");

  testing::FakeFileSystem files;
  const std::string s(1, fs::PathSeparator()), top = "P" + s;
  files.listings[top] = {{"index.htm", "Site.CSS", "logo.gif", "notes.doc"}};
  files.subfolders = {{top, {"js", "css"}}};
  files.listings[top + "css" + s] = {{"print.css", "back.png"}};
  files.listings[top + "js" + s] = {{"menu.js"}};
  EXPECT_EQ(ListIncludedEntries(files, top, web, true, 9).value(),
            (std::vector<std::string>{"Site.CSS", "css\\print.css", "js\\menu.js"}));
  EXPECT_FALSE(ListIncludedEntries(files, top, web, true, 2));
}

}  // namespace
}  // namespace vexmar::workspace
