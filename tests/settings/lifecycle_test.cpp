// The main window's start-up, Exit and closing, through the whole program.
#include <gtest/gtest.h>

#include "build/fake_resource_updates.h"
#include "platform/dialogs/scripted/scripted_services.h"
#include "platform/ui/headless/headless_backend.h"
#include "program/main_program.h"
#include "support/fake_file_system.h"
#include "workspace/mod_main.h"

namespace vexmar::settings {
namespace {

using dialogs::Answer;
using testing::FakeFileSystem;

struct ProgramFixture {
  ProgramFixture()
      : host{backend, modal, files, workspace::AddBackslash("program")},
        program(host, {resources, "", [] { return std::string("1/1/2030"); }},
                [this] { ++ended; }) {}
  ui::HeadlessBackend backend;
  dialogs::ScriptedServices modal;
  FakeFileSystem files;
  testing::FakeResourceUpdates resources;
  Host host;
  int ended = 0;
  program::MainProgram program;
  workspace::FrmMain& w() { return program.Window(); }
};

TEST(StartUp, PreparesTheWindowWithOrWithoutHelp) {
  for (const bool withHelp : {false, true}) {
    SCOPED_TRACE(withHelp ? "help.txt beside the program" : "no help.txt");
    ProgramFixture f;
    if (withHelp) f.files.contents[f.host.programFolder + "help.txt"] = "1=Title help\r\n";
    f.w().Window().Show();
    EXPECT_EQ(f.w().Window().Caption(), "Vexmar E-book Compiler");
    EXPECT_TRUE(f.w().Window().Visible());
    EXPECT_EQ(f.program.Help().HelpTexts().has_value(), withHelp);
    ASSERT_TRUE(f.w().img1.GetPicture() != nullptr);
    for (ui::Image* icon : f.w().imghelp) EXPECT_EQ(icon->GetPicture(), f.w().img1.GetPicture());
    EXPECT_EQ(f.w().chkTOC.Value(), 0);
    EXPECT_FALSE(f.w().lstTOC.Visible());
    EXPECT_FALSE(f.w().cmdAddToTOC.Visible());
    EXPECT_EQ(f.backend.ExtendedStyle(f.w().lstTOC.Handle()) & ui::kExStaticEdge,
              ui::kExStaticEdge);
    EXPECT_TRUE(f.modal.shown.empty());  // no message either way
  }
}

TEST(Exit, AsksAndClosesOnAnyAnswerButNo) {
  ProgramFixture f;
  f.w().Window().Show();
  f.w().txttitle.SetText("kept");
  f.modal.answers = {Answer::No};
  f.w().cmdExit.Click();
  ASSERT_EQ(f.modal.shown.size(), 1u);
  EXPECT_EQ(f.modal.shown[0].text, "Exit E-book Creator?");
  EXPECT_EQ(f.modal.shown[0].title, "Exit?");
  EXPECT_EQ(f.modal.shown[0].buttons, dialogs::Buttons::YesNo);
  EXPECT_EQ(f.modal.shown[0].icon, dialogs::Icon::Question);
  EXPECT_EQ(f.ended, 0);
  EXPECT_EQ(f.w().txttitle.Text(), "kept");

  f.modal.answers = {Answer::Yes};
  f.w().cmdExit.Click();
  EXPECT_EQ(f.ended, 1);
}

TEST(Exit, ClosingTheWindowEndsTheProgramWithoutAsking) {
  ProgramFixture f;
  f.w().Window().Show();
  f.w().Window().Close();
  EXPECT_EQ(f.ended, 1);
  EXPECT_TRUE(f.modal.shown.empty());
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
}  // namespace vexmar::settings
