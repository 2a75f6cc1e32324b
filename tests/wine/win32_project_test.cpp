// The settings file through the real windows on Wine: saved and opened by the
// tool-bar buttons on Windows' own file system, byte for byte as on every
// platform (no line end doubled, no code page changed on the way).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "build/build_command.h"
#include "program/main_program.h"
#include "support/garden_project.h"
#include "support/temp_folder.h"
#include "wine/win32_host.h"

namespace vexmar::workspace {
namespace {

using testing::Hwnd;

// A press of the button as the author's click makes it: through the
// window's own message, not by calling the reaction.
void Press(const ui::Control& button) {
  SendMessageW(Hwnd(button), BM_CLICK, 0, 0);
  testing::PumpMessages();
}

TEST(Win32Project, SavesAndOpensTheSettingsFileByteForByte) {
  testing::Win32Host host;
  program::MainProgram program{host.host, build::DefaultBuildSetup(host.host), [] {}};
  FrmMain& w = program.Window();
  w.Window().Show();
  testing::TempFolder dir;
  testing::FillGardenProject(w, dir.Path());
  host.modal.saveNames = {dir.Path() + "garden.ebc"};
  Press(w.cmdSave);
  EXPECT_EQ(dir.Read("garden.ebc"), testing::GardenSettingsFile(dir.Path()));

  Press(w.cmdNew);
  host.modal.openNames = {dir.Path() + "garden.ebc"};
  Press(w.cmdLoadFile);
  ASSERT_FALSE(host.modal.shown.empty());
  EXPECT_EQ(host.modal.shown.back().text, "Your settings have been loaded.");
  EXPECT_EQ(w.txttitle.Text(), "Garden Notes: Café edition");
  EXPECT_EQ(w.lstFiles.Entry(1), "Chapter 1.html");
  EXPECT_TRUE(IsWindowVisible(Hwnd(w.lstTOC)));
  EXPECT_EQ(w.lstTOC.Count(), 2);
}

}  // namespace
}  // namespace vexmar::workspace
