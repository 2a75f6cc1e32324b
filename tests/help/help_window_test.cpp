// The help texts from help.txt, the help window and the icons that open it.
#include <gtest/gtest.h>

#include "help/frm_help.h"
#include "help/help_icons.h"
#include "help/mod_help.h"
#include "support/main_window_fixture.h"

namespace vexmar::help {
namespace {

using testing::FakeFileSystem;
using testing::MainWindowFixture;

struct HelpFixture : MainWindowFixture {
  explicit HelpFixture(FakeFileSystem& fake) : MainWindowFixture(fake), help(host) {
    AttachHelpIcons(w(), help);
    // The author reads the help, and the test notes what the window showed.
    modal.whileModal = [this](ui::Form& form) {
      ASSERT_EQ(form.Name(), "frmhelp");
      shownTexts.push_back(static_cast<ui::Label*>(form.Find("lblhelp"))->Caption());
    };
  }
  ModHelp help;
  std::vector<std::string> shownTexts;
};

TEST(LoadHelp, ReadsAnsiTextAndLetsTheWindowRun) {
  FakeFileSystem files;
  files.contents["help.txt"] = "1=Caf\xE9 title\r\n2=Author\r\n";
  HelpFixture f(files);
  f.help.LoadHelp("help.txt");
  ASSERT_TRUE(f.help.HelpTexts().has_value());
  EXPECT_EQ(*f.help.HelpTexts(), (std::vector<std::string>{"Café title", "Author"}));
  EXPECT_EQ(f.modal.doEventsCalls, 2);
}

TEST(LoadHelp, AnUnreadableFileLeavesNoTexts) {
  FakeFileSystem files;
  HelpFixture f(files);
  f.help.LoadHelp("missing.txt");
  EXPECT_FALSE(f.help.HelpTexts().has_value());
  EXPECT_EQ(f.help.HelpText(1), "");
}

TEST(ShowHelp, ShowsTheNumberedTextOrAnEmptyArea) {
  FakeFileSystem files;
  files.contents["help.txt"] = "1=Title help\r\n2=Author help\r\n";
  HelpFixture f(files);
  ui::Form& main = f.w().Window();
  f.help.ShowHelp(1, main);  // no table yet
  f.help.LoadHelp("help.txt");
  for (int n : {1, 2, 0, 3, -1, 32767}) f.help.ShowHelp(n, main);
  EXPECT_EQ(f.shownTexts,
            (std::vector<std::string>{"", "Title help", "Author help", "", "", "", ""}));
  EXPECT_EQ(f.modal.modalForms.size(), 7u);
}

TEST(HelpIcons, PressBordersTheIconAndReleaseOpensItsHelp) {
  FakeFileSystem files;
  files.contents["help.txt"] =
      "1=one\r\n2=two\r\n3=three\r\n4=four\r\n5=five\r\n"
      "6=six\r\n7=seven\r\n8=eight\r\n9=nine\r\n10=ten\r\n";
  HelpFixture f(files);
  f.help.LoadHelp("help.txt");
  ui::Image& author = *f.w().imghelp[1];
  bool borderWhileHelpShown = true;
  f.modal.whileModal = [&](ui::Form& form) {
    borderWhileHelpShown = author.Border();
    f.shownTexts.push_back(static_cast<ui::Label*>(form.Find("lblhelp"))->Caption());
  };

  author.MouseDown(ui::MouseButton::Right);  // any button will do
  EXPECT_TRUE(author.Border());
  EXPECT_TRUE(f.shownTexts.empty());  // nothing opens before the release
  author.MouseUp(ui::MouseButton::Right);
  EXPECT_FALSE(author.Border());
  EXPECT_FALSE(borderWhileHelpShown);  // the border is gone before the help opens
  f.w().imghelp[9]->MouseDown(ui::MouseButton::Left);
  f.w().imghelp[9]->MouseUp(ui::MouseButton::Left);
  EXPECT_EQ(f.shownTexts, (std::vector<std::string>{"two", "ten"}));
}

TEST(HelpWindow, ClosingEmptiesTheTextByButtonOrCloseBox) {
  ui::HeadlessBackend backend;
  FrmHelp byButton(backend);
  byButton.Window().Show();
  byButton.lblhelp.SetCaption("text");
  byButton.Command1.Click();
  EXPECT_TRUE(byButton.Window().Closed());
  EXPECT_EQ(byButton.lblhelp.Caption(), "");

  FrmHelp byCloseBox(backend);
  byCloseBox.Window().Show();
  byCloseBox.lblhelp.SetCaption("text");
  byCloseBox.Window().Close();
  EXPECT_EQ(byCloseBox.lblhelp.Caption(), "");
}

}  // namespace
}  // namespace vexmar::help
