// The table-of-contents switch and "<< Add Files" on the headless main window.
#include <gtest/gtest.h>

#include "support/main_window_fixture.h"
#include "workspace/mod_main.h"

namespace vexmar::workspace {
namespace {

using testing::Checks;
using testing::Entries;
using testing::MainWindowFixture;
using Names = std::vector<std::string>;

bool TocShown(FrmMain& w) {
  EXPECT_EQ(w.lstTOC.Visible(), w.cmdAddToTOC.Visible());
  return w.lstTOC.Visible();
}

TEST(TocSwitch, TheFirstClickWithoutAFolderAsksForOneAndEndsUnchecked) {
  for (const bool chooseFolder : {false, true}) {
    SCOPED_TRACE(chooseFolder ? "folder chosen" : "browser cancelled");
    testing::FakeFileSystem files;
    files.listings[AddBackslash("book")] = {{"index.htm"}};
    MainWindowFixture f(files);
    FrmMain& w = f.w();
    f.modal.folders = {chooseFolder ? "book" : ""};
    w.chkTOC.ClickByUser();
    ASSERT_EQ(f.modal.shown.size(), 1u);
    EXPECT_EQ(testing::Box(f.modal.shown[0]), testing::Box("Please select a project folder first.",
                                                           "E-book Compiler", dialogs::Icon::None));
    EXPECT_EQ(f.modal.browsed.size(), 1u);
    EXPECT_EQ(w.chkTOC.Value(), 0);
    EXPECT_FALSE(TocShown(w));
    EXPECT_EQ(w.TocClickCount(), 2);  // the outer run and the nested one
    EXPECT_EQ(w.lstFiles.Count(), chooseFolder ? 1 : 0);

    w.txtpath.SetText("");
    w.chkTOC.ClickByUser();  // later clicks, even without a folder, just show the list
    EXPECT_EQ(f.modal.shown.size(), 1u);
    EXPECT_EQ(w.chkTOC.Value(), 1);
    EXPECT_TRUE(TocShown(w));
  }
}

TEST(TocSwitch, ShowsAndHidesTheListKeepingItsEntries) {
  MainWindowFixture f;
  FrmMain& w = f.w();
  w.txtpath.SetText("book/");
  w.lstTOC.Add("a.htm");
  w.lstTOC.Add("b.htm");
  w.lstTOC.SetChecked(1, true);
  w.chkTOC.ClickByUser();
  EXPECT_TRUE(TocShown(w));
  w.chkTOC.ClickByUser();
  EXPECT_FALSE(TocShown(w));
  w.chkTOC.SetValue(2);  // grayed, as a settings file may set it: hidden like unchecked
  EXPECT_FALSE(TocShown(w));
  w.chkTOC.ClickByUser();  // a click on a grayed box unchecks it
  EXPECT_EQ(w.chkTOC.Value(), 0);
  w.chkTOC.SetValue(1);
  EXPECT_TRUE(TocShown(w));
  EXPECT_EQ(w.TocClickCount(), 5);
  EXPECT_EQ(Entries(w.lstTOC), (Names{"a.htm", "b.htm"}));
  EXPECT_EQ(Checks(w.lstTOC), (std::vector<bool>{false, true}));
  EXPECT_TRUE(f.modal.shown.empty());
}

TEST(TocSwitch, TheClickCounterStopsAtItsLimit) {
  MainWindowFixture f;
  FrmMain& w = f.w();
  w.txtpath.SetText("book/");
  for (int i = 0; i < 32767 + 10; ++i) w.chkTOC.ClickByUser();
  EXPECT_EQ(w.TocClickCount(), 32767);
  w.txtpath.SetText("");
  w.chkTOC.ClickByUser();  // no wrap-around to a "first" run
  EXPECT_TRUE(f.modal.shown.empty());
}

TEST(AddFiles, ReplacesTheListWithTheCheckedFilesInListOrder) {
  MainWindowFixture f;
  FrmMain& w = f.w();
  for (const char* name : {"a.htm", "b.htm", "c.htm"}) w.lstFiles.Add(name);
  w.lstTOC.Add("old.htm");
  w.cmdAddToTOC.Click();  // nothing checked: the list empties
  EXPECT_EQ(w.lstTOC.Count(), 0);
  w.lstFiles.SetChecked(0, true);
  w.lstFiles.SetChecked(2, true);
  w.cmdAddToTOC.Click();
  w.lstTOC.SetChecked(0, true);
  w.cmdAddToTOC.Click();  // pressed again: the same list, unchecked again
  EXPECT_EQ(Entries(w.lstTOC), (Names{"a.htm", "c.htm"}));
  EXPECT_EQ(Checks(w.lstTOC), (std::vector<bool>{false, false}));
  EXPECT_EQ(Checks(w.lstFiles), (std::vector<bool>{true, false, true}));

  w.lstFiles.SetChecked(1, true);  // checked in the order c, a, b: listed in the list's order
  w.cmdAddToTOC.Click();
  EXPECT_EQ(Entries(w.lstTOC), (Names{"a.htm", "b.htm", "c.htm"}));
}

}  // namespace
}  // namespace vexmar::workspace
