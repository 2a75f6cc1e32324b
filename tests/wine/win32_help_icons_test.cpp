// A help icon on the real main window: the press keeps the mouse and shows
// the icon pressed; the release, wherever it happens, opens that icon's help
// in a modal window over the main window, with the icon normal again.
#include <gtest/gtest.h>

#include <string>

#include "build/build_command.h"
#include "platform/dialogs/win32/win32_services.h"
#include "program/main_program.h"
#include "support/temp_folder.h"
#include "wine/win32_host.h"
#include "wine/window_answerer.h"
#include "workspace/frm_main.h"

namespace vexmar::help {
namespace {

using testing::Hwnd;

TEST(Win32HelpIcons, APressAndAReleaseAnywhereOpenThatIconsHelpModally) {
  const std::unique_ptr<ui::Backend> backend = ui::MakeWin32Backend();
  const std::unique_ptr<dialogs::ModalServices> services = dialogs::MakeWin32Services();
  // The program folder holds the help texts the start-up reads.
  testing::TempFolder programFolder;
  programFolder.Write("help.txt", "1=Title help\r\n2=Author help\r\n");
  Host host{*backend, *services, fs::RealFileSystem(), programFolder.Path()};
  program::MainProgram program(host, build::DefaultBuildSetup(host), [] {});
  ui::Form& main = program.Window().Window();
  main.Show();

  ui::Image& icon = *program.Window().imghelp[1];
  const HWND iconWindow = Hwnd(icon);
  bool mainTookInput = true;
  bool iconBordered = true;
  HWND helpOwner = nullptr;
  std::string texts;
  testing::WindowAnswerer reader(
      [](HWND window) { return testing::TextOf(window) == "Pop up Help"; },
      [&](HWND window) {
        mainTookInput = IsWindowEnabled(Hwnd(main)) != FALSE;
        iconBordered = (GetWindowLongW(iconWindow, GWL_STYLE) & WS_BORDER) != 0;
        helpOwner = GetWindow(window, GW_OWNER);
        texts = testing::ChildTexts(window);
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      });

  SendMessageW(iconWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
  EXPECT_TRUE(icon.Border());  // looks pressed while the button is held
  EXPECT_EQ(GetCapture(), iconWindow);
  // The release comes over another control; the capture brings it here,
  // and the help window runs its own loop until the author closes it.
  SendMessageW(iconWindow, WM_RBUTTONUP, 0, MAKELPARAM(-150, 300));

  EXPECT_TRUE(reader.Answered());
  EXPECT_FALSE(mainTookInput);
  EXPECT_FALSE(iconBordered);
  EXPECT_EQ(helpOwner, Hwnd(main));
  EXPECT_NE(texts.find("Author help"), std::string::npos);
  EXPECT_NE(texts.find("Create E-book - Help"), std::string::npos);
  EXPECT_TRUE(IsWindowEnabled(Hwnd(main)));
  EXPECT_FALSE(icon.Border());
  EXPECT_NE(GetCapture(), iconWindow);
}

}  // namespace
}  // namespace vexmar::help
