// The Win32 modal services that need no answer from a person: showing a
// window modally and letting pending messages run.
#include <gtest/gtest.h>

#include "platform/dialogs/win32/win32_services.h"
#include "wine/message_pump.h"
#include "wine/win32_host.h"

namespace vexmar::dialogs {
namespace {

using testing::Hwnd;
using testing::Win32Host;

ui::FormDesign Window(const char* name, ui::FormBorder border) {
  ui::FormDesign design;
  design.name = name;
  design.caption = name;
  design.clientWidth = 3000;
  design.clientHeight = 2000;
  design.border = border;
  return design;
}

TEST(Win32Services, AModalWindowHoldsItsOwnerUntilItClosesThenGivesItBack) {
  Win32Host host;
  const auto services = MakeWin32Services();
  ui::Form owner(*host.backend, Window("frmmain", ui::FormBorder::FixedDialog));
  owner.Show();
  ui::Form help(*host.backend, Window("frmhelp", ui::FormBorder::FixedToolWindow));

  bool ownerTookInput = true;
  HWND ownerOfHelp = nullptr;
  help.onLoad = [&] {
    ownerTookInput = IsWindowEnabled(Hwnd(owner)) != FALSE;
    ownerOfHelp = GetWindow(Hwnd(help), GW_OWNER);
    // The author closes the window with its close box.
    PostMessageW(Hwnd(help), WM_SYSCOMMAND, SC_CLOSE, 0);
  };
  services->ShowModal(help, &owner);

  EXPECT_FALSE(ownerTookInput);
  EXPECT_EQ(ownerOfHelp, Hwnd(owner));
  EXPECT_TRUE(help.Closed());
  EXPECT_FALSE(help.Visible());
  EXPECT_TRUE(IsWindowEnabled(Hwnd(owner)));
  const LONG exStyle = GetWindowLongW(Hwnd(help), GWL_EXSTYLE);
  EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0);
}

TEST(Win32Services, AModalWindowCentredOverItsOwner) {
  Win32Host host;
  const auto services = MakeWin32Services();
  ui::Form owner(*host.backend, Window("frmmain", ui::FormBorder::FixedDialog));
  owner.Show();
  ui::FormDesign design = Window("frmhelp", ui::FormBorder::FixedToolWindow);
  design.startPosition = ui::StartPosition::CenterOwner;
  ui::Form help(*host.backend, design);
  RECT placed{};
  help.onLoad = [&] { PostMessageW(Hwnd(help), WM_CLOSE, 0, 0); };
  owner.onUnload = [] {};
  services->ShowModal(help, &owner);
  GetWindowRect(Hwnd(help), &placed);
  RECT around{};
  GetWindowRect(Hwnd(owner), &around);
  EXPECT_NEAR((placed.left + placed.right) / 2, (around.left + around.right) / 2, 1);
  EXPECT_NEAR((placed.top + placed.bottom) / 2, (around.top + around.bottom) / 2, 1);
}

TEST(Win32Services, DoEventsRunsWhatIsPendingAndLeavesTheQuitForTheProgramsLoop) {
  Win32Host host;
  const auto services = MakeWin32Services();
  ui::Form form(*host.backend, Window("frmmain", ui::FormBorder::FixedDialog));
  ui::ControlDesign design;
  design.name = "cmdcompile";
  design.caption = "&Compile";
  design.place = {100, 100, 1215, 350};
  ui::Button& button = form.Add<ui::Button>(design);
  int clicks = 0;
  button.onClick = [&] { ++clicks; };
  form.Show();

  PostMessageW(Hwnd(button), BM_CLICK, 0, 0);
  PostQuitMessage(3);
  services->DoEvents();
  EXPECT_EQ(clicks, 1);
  // The quit is still there for the outer loop, which ends with its code.
  EXPECT_EQ(RunMessageLoop(), 3);
}

}  // namespace
}  // namespace vexmar::dialogs
