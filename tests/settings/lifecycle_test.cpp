// The main window's start-up, Exit and closing, through the whole program.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "build/fake_resource_updates.h"
#include "platform/dialogs/scripted/scripted_services.h"
#include "platform/ui/headless/headless_backend.h"
#include "program/main_program.h"
#include "support/fake_file_system.h"
#include "support/temp_folder.h"
#include "workspace/mod_main.h"

namespace vexmar::settings {
namespace {

using dialogs::Answer;
using testing::FakeFileSystem;

struct ProgramFixture {
  explicit ProgramFixture(std::string programFolder = workspace::AddBackslash("program"))
      : host{backend, modal, files, std::move(programFolder)},
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

// A 2 x 2 pixel, 24-bit Windows bitmap.
std::string TinyBitmap() {
  std::string file = "BM";
  const auto dword = [&file](std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) file += static_cast<char>(value >> shift & 0xFF);
  };
  const auto word = [&file](std::uint16_t value) {
    file += static_cast<char>(value & 0xFF);
    file += static_cast<char>(value >> 8);
  };
  dword(54 + 16), dword(0), dword(54);
  dword(40), dword(2), dword(2), word(1), word(24), dword(0), dword(16), dword(2835), dword(2835);
  dword(0), dword(0);
  file += std::string(16, '\x7F');
  return file;
}

TEST(StartUp, SkinsTheWindowOnlyFromASkinBmpThatIsAPicture) {
  struct Case {
    const char* name;
    std::optional<std::string> content;  // none: no skin.bmp at all
    bool skinned;
  };
  const Case cases[] = {{"no skin.bmp", std::nullopt, false},
                        {"a bitmap", TinyBitmap(), true},
                        {"a text file", "this is no picture\r\n", false},
                        {"a bitmap cut short", "BM\x36", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    if (c.content) folder.Write("skin.bmp", *c.content);
    ProgramFixture f(folder.Path());
    f.w().Window().Show();
    const ui::HeadlessBackend::FormLook* look = f.backend.Look(f.w().Window().Handle());
    ASSERT_NE(look, nullptr);
    EXPECT_EQ(look->skin != nullptr, c.skinned);
    EXPECT_EQ(f.program.GetSkin().Drawn(), c.skinned);
    if (c.skinned) {
      EXPECT_EQ(look->skin->WidthPixels(), 2);
    }
    // Either way the window starts as usual and nothing is said.
    EXPECT_EQ(f.w().Window().Caption(), "Vexmar E-book Compiler");
    EXPECT_TRUE(f.w().Window().Visible());
    EXPECT_TRUE(f.modal.shown.empty());
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
