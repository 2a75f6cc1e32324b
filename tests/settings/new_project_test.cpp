#include "settings/new_project.h"

#include <gtest/gtest.h>

#include "support/main_window_fixture.h"

namespace vexmar::settings {
namespace {

using testing::MainWindowFixture;

TEST(NewProject, EmptiesEveryFieldAndTheProjectFolder) {
  MainWindowFixture f;
  workspace::FrmMain& w = f.w();
  for (ui::TextBox* box : {&w.txttitle, &w.txtAuthor, &w.txtURLText, &w.txtURL, &w.txtpath,
                           &w.txthomepage, &w.txtoutfolder, &w.txtoutfile}) {
    box->SetText("value of " + box->Name());
  }
  w.lstFiles.Add("a.htm");
  w.lstTOC.Add("a.htm");
  w.chkTOC.SetValue(1);
  ASSERT_TRUE(w.lstTOC.Visible());
  w.ProjectFolder = "folder/";
  const std::string caption = w.Window().Caption();

  NewProject(w);
  for (ui::TextBox* box : {&w.txttitle, &w.txtAuthor, &w.txtURLText, &w.txtURL, &w.txtpath,
                           &w.txthomepage, &w.txtoutfolder, &w.txtoutfile}) {
    EXPECT_EQ(box->Text(), "") << box->Name();
  }
  EXPECT_EQ(w.lstFiles.Count(), 0);
  EXPECT_EQ(w.lstTOC.Count(), 0);
  EXPECT_EQ(w.chkTOC.Value(), 0);
  EXPECT_FALSE(w.lstTOC.Visible());
  EXPECT_FALSE(w.cmdAddToTOC.Visible());
  EXPECT_EQ(w.ProjectFolder, "");
  EXPECT_EQ(w.Window().Caption(), caption);
  EXPECT_EQ(w.TocClickCount(), 2);  // checked once, unchecked by New

  NewProject(w);  // on an empty window: nothing changes, nothing runs
  EXPECT_EQ(w.TocClickCount(), 2);
  EXPECT_TRUE(f.modal.shown.empty());
  EXPECT_TRUE(f.modal.browsed.empty());
}

}  // namespace
}  // namespace vexmar::settings
