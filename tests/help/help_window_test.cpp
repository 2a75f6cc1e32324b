// The help texts from help.txt, the help window and the icons that open it.
#include <gtest/gtest.h>

#include "help/help_icons.h"
#include "help/mod_help.h"
#include "support/main_window_fixture.h"

namespace vexmar::help {
namespace {

using testing::FakeFileSystem;
using Texts = std::vector<std::string>;

struct HelpFixture : testing::MainWindowFixture {
  explicit HelpFixture(const std::string& helpFile) : MainWindowFixture(files), help(host) {
    files.contents["help.txt"] = helpFile;
    AttachHelpIcons(w(), help);
    // The author reads the help, and the test notes what the window showed.
    modal.whileModal = [this](ui::Form& form) {
      ASSERT_EQ(form.Name(), "frmhelp");
      shownTexts.push_back(static_cast<ui::Label*>(form.Find("lblhelp"))->Caption());
    };
  }
  FakeFileSystem files;
  ModHelp help;
  Texts shownTexts;
};

TEST(ModHelp, ReadsAnsiTextLettingTheWindowRunAndShowsTheNumberedTextOrAnEmptyArea) {
  HelpFixture f("1=Caf\xE9 title\r\n2=x,Author\r\n");
  ui::Form& main = f.w().Window();
  f.help.LoadHelp("missing.txt");
  EXPECT_FALSE(f.help.HelpTexts().has_value());
  f.help.ShowHelp(1, main);  // no table: an empty area
  f.help.LoadHelp("help.txt");
  EXPECT_EQ(f.modal.doEventsCalls, 3);  // once a field, not once an entry
  for (int n : {1, 2, 0, 3, -1, 32767}) f.help.ShowHelp(n, main);
  EXPECT_EQ(f.shownTexts, (Texts{"", "Café title", "Author", "", "", "", ""}));
}

TEST(HelpIcons, PressBordersTheIconAndReleaseOpensItsHelp) {
  HelpFixture f("1=one\r\n2=two\r\n3=\r\n4=\r\n5=\r\n6=\r\n7=\r\n8=\r\n9=\r\n10=ten\r\n");
  f.help.LoadHelp("help.txt");
  ui::Image& author = *f.w().imghelp[1];
  bool borderWhileHelpShown = true;
  f.modal.whileModal = [&](ui::Form& form) {
    borderWhileHelpShown = author.Border();
    f.shownTexts.push_back(static_cast<ui::Label*>(form.Find("lblhelp"))->Caption());
  };

  author.MouseDown(ui::MouseButton::Right);  // any button will do; nothing opens yet
  EXPECT_TRUE(author.Border() && f.shownTexts.empty());
  author.MouseUp(ui::MouseButton::Right);
  EXPECT_FALSE(author.Border());
  EXPECT_FALSE(borderWhileHelpShown);  // the border is gone before the help opens
  f.w().imghelp[9]->MouseDown(ui::MouseButton::Left);
  f.w().imghelp[9]->MouseUp(ui::MouseButton::Left);
  EXPECT_EQ(f.shownTexts, (Texts{"two", "ten"}));
}

}  // namespace
}  // namespace vexmar::help
