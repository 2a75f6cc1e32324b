// The project-folder and output-folder commands, select-all and the
// home-page pick, on the headless main window.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/main_window_fixture.h"
#include "support/temp_folder.h"
#include "workspace/mod_main.h"

namespace vexmar::workspace {
namespace {

using testing::Checks;
using testing::Entries;
using testing::FakeFileSystem;
using testing::MainWindowFixture;
using Names = std::vector<std::string>;

// A folder text as the commands make it, with the platform's separator.
const auto Dir = AddBackslash;

// The real listing, as the scan and FileExists (the home page, help.txt, the
// stub) use it: normal files only, with wildcards. The scan keeps the names
// whose last four characters, with their case, are one of seven: so
// "page.shtml" and a bare "html" qualify, "INDEX2.HTM" and "movie.mpeg" do not.
TEST(ProjectFolder, TheRealListingCountsNormalFilesOnly) {
  testing::TempFolder dir;
  // Names beyond ASCII: été.htm, 日本.txt, 😀.png.
  const Names beyond = {"\xC3\xA9t\xC3\xA9.htm", "\xE6\x97\xA5\xE6\x9C\xAC.txt",
                        "\xF0\x9F\x98\x80.png"};
  for (const std::string& name : beyond) dir.Write(name);
  for (const char* name :
       {"index.htm", "page.html", "notes.txt", "logo.gif", "photo.jpg", "photo.jpeg", "icon.png",
        "page.shtml", "html", "INDEX2.HTM", "movie.mpeg", "readme.text", "style.css", "htm"}) {
    dir.Write(name);
  }
  const std::string hidden = dir.WriteHidden("hidden.htm");
  dir.MakeFolder("chapter.htm");  // a folder, whatever its name
  dir.Write(Dir("sub") + "inner.htm");
  dir.MakeFolder("empty");

  MainWindowFixture f;
  f.modal.folders = {dir.Path().substr(0, dir.Path().size() - 1)};
  f.w().cmdopen.Click();
  Names listed = Entries(f.w().lstFiles);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed,
            (Names{"html", "icon.png", "index.htm", "logo.gif", "notes.txt", "page.html",
                   "page.shtml", "photo.jpeg", "photo.jpg", beyond[0], beyond[1], beyond[2]}));
  EXPECT_EQ(f.w().ProjectFolder, dir.Path());
  ASSERT_EQ(f.modal.browsed.size(), 1u);
  EXPECT_EQ(f.modal.browsed[0].title, "Choose the folder were all your files are in below:");

  // A folder counts only when named with a separator and holding a normal
  // file; wildcards match any normal file.
  const std::pair<std::string, bool> exists[] = {
      {"index.htm", true}, {"missing.htm", false},
      {hidden, false},     {"sub", false},
      {Dir("sub"), true},  {Dir("empty"), false},
      {"*.htm", true},     {"*.zip", false},
      {"ind?x.htm", true}, {Dir("nowhere") + "index.htm", false}};
  for (const auto& [path, expected] : exists) {
    EXPECT_EQ(FileExists(fs::RealFileSystem(), dir.Path() + path), expected) << path;
  }
}

// The listing's order, a failure part-way (the names so far stay), and a
// folder with more files than a list holds (the first ones).
TEST(ProjectFolder, ListsWhatTheListingYieldsUntilItEndsOrTheListIsFull) {
  FakeFileSystem files;
  const std::string root = AddBackslash("C:");  // a root folder keeps its own separator
  files.listings[root] = {{"z.htm", "b.css", "a.htm", "m.txt"}};
  files.listings[Dir("flaky")] = {{"a.htm", "b.htm", "c.htm"}, 2};
  Names big;
  for (int i = 0; i < ui::CheckList::kMaxEntries + 100; ++i) {
    big.push_back("page" + std::to_string(i) + ".htm");
  }
  files.listings[Dir("big")] = {big};
  big.resize(ui::CheckList::kMaxEntries);
  const std::pair<std::string, Names> cases[] = {{root, {"z.htm", "a.htm", "m.txt"}},
                                                 {"gone", {}},  // no listing: no first name
                                                 {"flaky", {"a.htm", "b.htm"}},
                                                 {"big", big}};
  for (const auto& [folder, names] : cases) {
    SCOPED_TRACE(folder);
    MainWindowFixture f(files);
    f.w().lstFiles.Add("old.htm");
    f.modal.folders = {folder};
    f.w().cmdopen.Click();
    EXPECT_TRUE(Entries(f.w().lstFiles) == names);
    if (folder == root) {
      EXPECT_EQ(f.modal.doEventsCalls, 4);  // after every name yielded
    }
  }
}

TEST(ProjectFolder, ANewFolderResetsOutputFolderAndCheckMarksButNotTheRest) {
  FakeFileSystem files;
  files.listings[Dir("first")] = {{"a.htm", "b.htm"}};
  files.listings[Dir("second")] = {{"a.htm", "c.htm"}};
  MainWindowFixture f(files);
  FrmMain& w = f.w();
  f.modal.folders = {"first", "elsewhere", "second"};
  w.cmdopen.Click();
  w.cmdoutput.Click();
  EXPECT_EQ(w.txtoutfolder.Text(), Dir("elsewhere"));
  EXPECT_EQ(w.txtpath.Text(), Dir("first"));  // the output folder changes nothing else
  w.cmdselall.Click();
  w.txthomepage.SetText("b.htm");
  w.lstTOC.Add("b.htm");

  w.cmdopen.Click();
  EXPECT_EQ(w.txtoutfolder.Text(), Dir("second"));
  EXPECT_EQ(Entries(w.lstFiles), (Names{"a.htm", "c.htm"}));
  EXPECT_EQ(Checks(w.lstFiles), (std::vector<bool>{false, false}));
  EXPECT_EQ(w.txthomepage.Text(), "b.htm");
  EXPECT_EQ(Entries(w.lstTOC), Names{"b.htm"});  // the contents list is left alone

  w.lstFiles.SetChecked(0, true);
  const int listings = files.listingsStarted;
  const std::string before = testing::Snapshot(w);
  f.modal.folders = {""};  // cancelled: nothing changes
  w.cmdopen.Click();
  EXPECT_EQ(testing::Snapshot(w), before);
  EXPECT_EQ(files.listingsStarted, listings);
}

TEST(ProjectFolder, AScanNeverMixesTwoFoldersNames) {
  FakeFileSystem files;
  files.listings[Dir("first")] = {{"1a.htm", "1b.htm", "1c.htm", "1d.htm"}};
  files.listings[Dir("second")] = {{"2a.htm", "2b.htm"}};
  MainWindowFixture f(files);
  FrmMain& w = f.w();

  // While the first scan hands control back, the author chooses another folder.
  f.modal.folders = {"first", "second"};
  f.modal.pendingEvents.push_back([&] { w.cmdopen.Click(); });
  w.cmdopen.Click();
  EXPECT_EQ(Entries(w.lstFiles), (Names{"2a.htm", "2b.htm"}));
  EXPECT_EQ(w.ProjectFolder, Dir("second"));

  // ... or empties the project, as New and opening a settings file do.
  f.modal.folders = {"first"};
  f.modal.pendingEvents.push_back([&] {
    w.lstFiles.Clear();
    w.ProjectFolder.clear();
  });
  w.cmdopen.Click();
  EXPECT_EQ(w.lstFiles.Count(), 0);
}

TEST(SelectAllAndHomePagePick, CheckEverythingAndTakeTheCurrentEntrysName) {
  MainWindowFixture f;
  FrmMain& w = f.w();
  w.cmdselall.Click();  // an empty list: nothing to do
  for (const char* name : {"a.htm", "b.htm", "c.htm"}) w.lstFiles.Add(name);
  w.lstFiles.SetChecked(1, true);
  w.cmdselall.Click();  // and it never unchecks
  EXPECT_EQ(Checks(w.lstFiles), (std::vector<bool>{true, true, true}));

  w.lstFiles.SetChecked(1, false);
  w.txthomepage.SetText("typed.htm");
  w.lstFiles.DoubleClick();  // no current entry
  EXPECT_EQ(w.txthomepage.Text(), "typed.htm");
  w.lstFiles.SetCurrentIndex(1);
  w.lstFiles.DoubleClick();
  EXPECT_EQ(w.txthomepage.Text(), "b.htm");
  EXPECT_FALSE(w.lstFiles.Checked(1));  // the pick leaves the check mark alone
}

}  // namespace
}  // namespace vexmar::workspace
