// The main window's start-up and Exit through the whole program (closing it:
// author_e2e).
#include <gtest/gtest.h>

#include <string>

#include "build/fake_resource_updates.h"
#include "platform/dialogs/scripted/scripted_services.h"
#include "platform/ui/headless/headless_backend.h"
#include "program/main_program.h"
#include "support/main_window_fixture.h"
#include "support/temp_folder.h"
#include "workspace/mod_main.h"

namespace vexmar::program {
namespace {

using dialogs::Answer;

struct ProgramFixture {
  explicit ProgramFixture(std::string programFolder = workspace::AddBackslash("program"))
      : host{backend, modal, files, std::move(programFolder)},
        program(host,
                {resources, "",
                 [] {
                   return build::BuildDay{{2030, 1, 1}, "1/1/2030"};
                 }},
                [this] { ++ended; }) {}
  ui::HeadlessBackend backend;
  dialogs::ScriptedServices modal;
  testing::FakeFileSystem files;
  testing::FakeResourceUpdates resources;
  Host host;
  int ended = 0;
  program::MainProgram program;
  workspace::FrmMain& w() { return program.Window(); }
};

// help.txt is read through the program's file system, skin.bmp from the
// program's folder on disk; neither is needed, and neither says anything.
TEST(StartUp, PreparesTheWindowWithOrWithoutHelpAndASkinThatIsAPicture) {
  // A 2 x 2 pixel, 24-bit Windows bitmap.
  const std::string bitmap =
      std::string(
          "BMF\0\0\0\0\0\0\0\x36\0\0\0(\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0"
          "\x10\0\0\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0",
          54) +
      std::string(16, '\x7F');
  // No skin.bmp at all, a bitmap, one cut short; with help.txt when there is a skin.bmp.
  for (const std::string& skin : {std::string(), bitmap, std::string("BM\x36")}) {
    SCOPED_TRACE(skin.size());
    const bool help = !skin.empty(), skinned = skin == bitmap;
    testing::TempFolder folder;
    if (help) folder.Write("skin.bmp", skin);
    ProgramFixture f(folder.Path());
    if (help) f.files.contents[folder.Path() + "help.txt"] = "1=Title help\r\n";
    workspace::FrmMain& w = f.w();
    w.Window().Show();
    EXPECT_EQ(f.program.Help().HelpTexts().has_value(), help);
    EXPECT_FALSE(w.chkTOC.Value() != 0 || w.lstTOC.Visible() || w.cmdAddToTOC.Visible());
    const ui::HeadlessBackend::FormLook* look = f.backend.Look(w.Window().Handle());
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->skin != nullptr, skinned);
    EXPECT_TRUE(!skinned || look->skin->WidthPixels() == 2);
    EXPECT_TRUE(f.modal.shown.empty());
  }
}

TEST(Exit, AsksAndClosesOnAnyAnswerButNo) {
  ProgramFixture f;
  f.w().Window().Show();
  f.modal.answers = {Answer::No};
  f.w().cmdExit.Click();
  ASSERT_EQ(f.modal.shown.size(), 1u);
  EXPECT_EQ(testing::Box(f.modal.shown[0]),
            testing::Box("Exit E-book Creator?", "Exit?", dialogs::Icon::Question,
                         dialogs::Buttons::YesNo));
  EXPECT_EQ(f.ended, 0);
  f.modal.answers = {Answer::Yes};
  f.w().cmdExit.Click();
  EXPECT_EQ(f.ended, 1);
}

TEST(Program, TheToolBarButtonsRunTheirCommands) {
  ProgramFixture f;
  f.w().Window().Show();
  f.w().txttitle.SetText("Garden");
  f.modal.saveNames = {"saved.ebc"};
  f.w().cmdSave.Click();
  EXPECT_EQ(f.files.contents["saved.ebc"].substr(0, 8), "Garden\r\n");
  f.w().cmdNew.Click();
  EXPECT_EQ(f.w().txttitle.Text(), "");
  f.modal.openNames = {"saved.ebc"};
  f.w().cmdLoadFile.Click();
  EXPECT_EQ(f.w().txttitle.Text(), "Garden");
  f.modal.answers = {Answer::No};
  f.w().cmdcompile.Click();
  EXPECT_EQ(f.modal.shown.back().text, "Are you ready to build your e-book now?");
}

}  // namespace
}  // namespace vexmar::program
