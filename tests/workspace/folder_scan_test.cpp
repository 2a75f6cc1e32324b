// The project-folder and output-folder commands, select-all and the
// home-page pick, on the headless main window.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/main_window_fixture.h"
#include "support/temp_folder.h"
#include "workspace/book_files.h"
#include "workspace/mod_main.h"

namespace vexmar::workspace {
namespace {

using testing::Checks;
using testing::Entries;
using testing::FakeFileSystem;
using testing::MainWindowFixture;
using Names = std::vector<std::string>;

// A folder text as the commands make it, with the platform's separator.
std::string Dir(const std::string& name) {
  return AddBackslash(name);
}

// The last four characters decide, with their case: so "page.shtml" and a
// bare "html" qualify, "INDEX.HTM" and "movie.mpeg" do not.
TEST(BookFiles, SevenCaseSensitiveSuffixesOfFourCharacters) {
  for (const char* name : {"index.htm", "page.html", "notes.txt", "logo.gif", "photo.jpg",
                           "photo.jpeg", "icon.png", "page.shtml", "page.xhtml", "html", "jpeg"}) {
    EXPECT_TRUE(QualifiesForBook(name)) << name;
  }
  for (const char* name : {"INDEX.HTM", "Logo.GIF", "photo.JPG", "x.Htm", "readme.text",
                           "style.css", "script.js", "movie.mpeg", "archive.zip", "htm", ""}) {
    EXPECT_FALSE(QualifiesForBook(name)) << name;
  }
}

TEST(ProjectFolder, ScanListsQualifyingNormalFilesOnly) {
  testing::TempFolder dir;
  for (const char* name : {"index.htm", "page.shtml", "html", "INDEX2.HTM", "style.css"}) {
    dir.Write(name);
  }
  dir.WriteHidden("hidden.htm");
  dir.MakeFolder("chapter.htm");  // a folder, whatever its name
  dir.Write("sub/inner.htm");

  MainWindowFixture f;
  f.modal.folders = {dir.Path().substr(0, dir.Path().size() - 1)};
  f.w().cmdopen.Click();
  Names listed = Entries(f.w().lstFiles);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (Names{"html", "index.htm", "page.shtml"}));
  EXPECT_EQ(f.w().ProjectFolder, dir.Path());
  ASSERT_EQ(f.modal.browsed.size(), 1u);
  EXPECT_EQ(f.modal.browsed[0].title, "Choose the folder were all your files are in below:");
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
    EXPECT_EQ(f.w().txtpath.Text(), Dir(folder));
    EXPECT_EQ(f.w().ProjectFolder, Dir(folder));
    EXPECT_EQ(f.w().txtoutfolder.Text(), Dir(folder));
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
  f.modal.folders = {""};  // cancelled: nothing changes
  w.cmdopen.Click();
  EXPECT_EQ(w.txtpath.Text(), Dir("second"));
  EXPECT_EQ(w.ProjectFolder, Dir("second"));
  EXPECT_EQ(w.txtoutfolder.Text(), Dir("second"));
  EXPECT_EQ(Checks(w.lstFiles), (std::vector<bool>{true, false}));
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
