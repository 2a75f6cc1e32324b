// The splash window and the skin on real windows: the splash is its label,
// centred, a tool window, handing over after about 2.5 seconds; the skin
// paints the main window's background, and its window-menu item turns it
// off and on.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "build/build_command.h"
#include "help/frm_splash.h"
#include "program/main_program.h"
#include "support/temp_folder.h"
#include "wine/win32_host.h"

namespace vexmar::help {
namespace {

using testing::Hwnd;
using testing::PlaceInParent;
using testing::PumpMessages;
using testing::PumpUntil;

TEST(Win32Splash, IsItsLabelCentredWithoutATaskBarButtonAndHandsOverAfterItsTick) {
  testing::Win32Host host;
  bool handedOver = false;
  FrmSplash splash(
      *host.backend, [&] { handedOver = true; }, [] {});
  const ULONGLONG shown = GetTickCount64();
  splash.Window().Show();
  const HWND window = Hwnd(splash.Window());
  RECT outer{};
  GetWindowRect(window, &outer);
  const RECT label = PlaceInParent(Hwnd(splash.lblSplash));
  EXPECT_EQ(label.left + label.top, 0);
  EXPECT_GT(label.right, 2 * label.bottom);  // sized to the line of text it was given
  // No frame: the window is the label.
  EXPECT_EQ(outer.right - outer.left, label.right);
  EXPECT_EQ(outer.bottom - outer.top, label.bottom);
  EXPECT_NEAR(2 * outer.left, GetSystemMetrics(SM_CXSCREEN) - label.right, 1);
  EXPECT_NEAR(2 * outer.top, GetSystemMetrics(SM_CYSCREEN) - label.bottom, 1);
  // No task-bar button for the splash.
  EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW),
            WS_EX_TOOLWINDOW);

  ASSERT_TRUE(PumpUntil([&] { return handedOver; }, 8000));
  const ULONGLONG after = GetTickCount64() - shown;
  EXPECT_GE(after, 2400u);
  EXPECT_LE(after, 4000u);
  EXPECT_FALSE(IsWindowVisible(window));
}

// A one-colour 8 x 8 pixel, 24-bit bitmap file.
std::string SolidBitmap(BYTE red, BYTE green, BYTE blue) {
  std::string file(54, '\0');
  const auto put = [&file](std::size_t at, DWORD value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
  };
  file[0] = 'B', file[1] = 'M';
  put(2, 54 + 8 * 8 * 3, 4), put(10, 54, 4), put(14, 40, 4), put(18, 8, 4), put(22, 8, 4);
  put(26, 1, 2), put(28, 24, 2);
  for (int i = 0; i < 64; ++i)
    file += {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red)};
  return file;
}

struct MenuItem {
  UINT command = 0;
  bool checked = false;
};

MenuItem WindowMenuItem(HWND window, const wchar_t* caption) {
  const HMENU menu = GetSystemMenu(window, FALSE);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    if (lstrcmpW(text, caption) == 0) {
      const UINT command = GetMenuItemID(menu, i);
      return {command, (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0};
    }
  }
  return {};
}

COLORREF ClientPixel(HWND window, int x, int y) {
  RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages();
  HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

// Without a skin file there is no item (tests/help); the plain background
// is painted once the item turns the skin off.
TEST(Win32Skin, APictureSkinsTheBackgroundAndItsWindowMenuItemTurnsItOffAndOn) {
  testing::TempFolder folder;
  folder.Write("skin.bmp", SolidBitmap(40, 160, 90));
  testing::Win32Host host;
  host.host.programFolder = folder.Path();
  program::MainProgram program(host.host, build::DefaultBuildSetup(host.host), [] {});
  program.Window().Window().Show();
  const HWND window = Hwnd(program.Window().Window());
  // An empty spot of the client area, below the Compile and Exit buttons.
  const auto background = [window] { return ClientPixel(window, 200, 590); };
  const auto item = [window] { return WindowMenuItem(window, L"&Disable Skin"); };
  EXPECT_EQ(background(), RGB(40, 160, 90));
  const UINT skinCommand = item().command;
  ASSERT_NE(skinCommand, 0u);
  SendMessageW(window, WM_SYSCOMMAND, skinCommand, 0);
  EXPECT_EQ(background(), GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(item().checked);
  SendMessageW(window, WM_SYSCOMMAND, skinCommand, 0);
  EXPECT_EQ(background(), RGB(40, 160, 90));
  EXPECT_FALSE(item().checked);
}

}  // namespace
}  // namespace vexmar::help
