#include "workspace/frm_main.h"

#include <gtest/gtest.h>

#include "support/main_window_fixture.h"

namespace vexmar::workspace {
namespace {

using testing::MainWindowFixture;

TEST(MainWindow, StartsWithTenTaggedHelpIconsAndTheContentsListHidden) {
  MainWindowFixture f;
  FrmMain& w = f.w();
  for (int i = 0; i < FrmMain::kHelpIcons; ++i) {
    EXPECT_EQ(w.imghelp[static_cast<std::size_t>(i)]->Tag(), std::to_string(i + 1));
  }
  EXPECT_FALSE(w.lstTOC.Visible());
  EXPECT_FALSE(w.cmdAddToTOC.Visible());
  EXPECT_FALSE(w.img1.Visible());
  EXPECT_TRUE(w.lstFiles.Visible());
  EXPECT_STREQ(w.lstFiles.KindName(), "ListBox");
  EXPECT_STREQ(w.txttitle.KindName(), "TextBox");
}

// Commands that visit every control (New, the build's ":" check) rely on the
// order of the text boxes and of the lists in the window's collection.
TEST(MainWindow, ControlOrderOfTheTextBoxesAndLists) {
  MainWindowFixture f;
  ui::Form& form = f.w().Window();
  std::vector<std::string> boxes, lists;
  for (int i = 0; i < form.ControlCount(); ++i) {
    const ui::Control& c = form.ControlAt(i);
    if (c.Kind() == ui::ControlKind::TextBox) boxes.push_back(c.Name());
    if (c.Kind() == ui::ControlKind::CheckList) lists.push_back(c.Name());
  }
  EXPECT_EQ(boxes, (std::vector<std::string>{"txtURL", "txtURLText", "txtoutfolder", "txthomepage",
                                             "txtoutfile", "txtpath", "txtAuthor", "txttitle"}));
  EXPECT_EQ(lists, (std::vector<std::string>{"lstTOC", "lstFiles"}));
}

TEST(CheckBoxes, SettingANewValueRunsTheClickReactionOnce) {
  MainWindowFixture f;
  ui::CheckBox& box = f.w().chkTOC;
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  box.SetValue(0);  // unchanged
  EXPECT_EQ(clicks, 0);
  box.SetValue(1);
  box.SetValue(2);
  box.SetValue(7);  // not a value a check box has
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(box.Value(), 2);
  box.ClickByUser();  // a grayed box unchecks
  EXPECT_EQ(box.Value(), 0);
  EXPECT_EQ(clicks, 3);
}

TEST(CheckLists, RefuseEntriesPastTheSixteenBitLimit) {
  MainWindowFixture f;
  ui::CheckList& list = f.w().lstTOC;
  for (int i = 0; i < ui::CheckList::kMaxEntries; ++i) ASSERT_TRUE(list.Add("x"));
  EXPECT_FALSE(list.Add("one too many"));
  EXPECT_EQ(list.Count(), ui::CheckList::kMaxEntries);
  EXPECT_EQ(list.Entry(-1), "");
  EXPECT_EQ(list.Entry(ui::CheckList::kMaxEntries), "");
  EXPECT_FALSE(list.Checked(ui::CheckList::kMaxEntries));
}

}  // namespace
}  // namespace vexmar::workspace
