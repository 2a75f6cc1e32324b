// The real main window on the Win32 backend: its size and every control's
// place at 96 DPI and after a DPI change, the keyboard order and keys, what
// the start-up leaves (flat edges, one help picture) and the tool tips.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "build/build_command.h"
#include "platform/dialogs/win32/win32_services.h"
#include "platform/ui/win32/win32_metrics.h"
#include "program/main_program.h"
#include "wine/win32_host.h"
#include "workspace/frm_main.h"

namespace vexmar::workspace {
namespace {

using testing::Hwnd;
using testing::PlaceInParent;
using testing::PumpMessages;
using Names = std::vector<std::string>;

class Win32MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ui::win32::DpiOf(Hwnd(w.Window())) != 96) GTEST_SKIP() << "the places are given at 96 DPI";
  }

  testing::Win32Host host;
  // The whole program: showing the window runs its start-up.
  program::MainProgram program{host.host, build::DefaultBuildSetup(host.host), [] {}};
  FrmMain& w = program.Window();
};

int FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return static_cast<int>(font.lfHeight);
}

TEST_F(Win32MainWindow, HasAClientAreaOf438By611AndLaysOutAgainOnAScreenOfAnotherDpi) {
  const HWND window = Hwnd(w.Window());
  const auto client = [window] {
    RECT rect{};
    GetClientRect(window, &rect);
    return std::vector<LONG>{rect.right, rect.bottom};
  };
  EXPECT_EQ(client(), (std::vector<LONG>{438, 611}));
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(FontHeight(Hwnd(w.txttitle)), -11);  // 8.25 pt at 96 DPI

  RECT suggested{};
  GetWindowRect(window, &suggested);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  const RECT title = PlaceInParent(Hwnd(w.txttitle));
  EXPECT_EQ((std::vector<LONG>{title.left, title.top, title.right, title.bottom}),
            (std::vector<LONG>{144, 56, 144 + 321, 56 + 33}));
  EXPECT_EQ(FontHeight(Hwnd(*w.lblNums[0])), -17);
  EXPECT_EQ(PlaceInParent(Hwnd(w.lbltitle)).top, 59);

  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(PlaceInParent(Hwnd(w.txttitle)).bottom, 59);
  EXPECT_EQ(FontHeight(Hwnd(w.txttitle)), -11);
  EXPECT_EQ(client(), (std::vector<LONG>{438, 611}));
}

// A few anchors of the design (15 twips a pixel, each number rounded) and
// the rules every control keeps: inside the client area, no two overlapping.
TEST_F(Win32MainWindow, PlacesTheControlsByTheDesignInsideTheClientAreaWithoutOverlap) {
  struct Anchor {
    const char* name;
    int index;
    RECT place;  // right and bottom 0: a label sized to its caption
  };
  const Anchor anchors[] = {
      {"txttitle", -1, {96, 37, 310, 59}}, {"lstFiles", -1, {87, 208, 331, 287}},
      {"lstTOC", -1, {88, 384, 332, 463}}, {"cmdcompile", -1, {275, 536, 356, 559}},
      {"cmdSave", -1, {208, 0, 241, 25}},  {"Label7", -1, {24, 504, 0, 0}},
      {"lblNums", 3, {16, 368, 41, 385}},  {"imghelp", 9, {312, 109, 328, 123}},
      {"Line3", -1, {16, 528, 424, 530}},  {"Label4", -1, {88, 320, 396, 333}},
  };
  for (const Anchor& a : anchors) {
    SCOPED_TRACE(std::string(a.name) + " " + std::to_string(a.index));
    const ui::Control* control = w.Window().Find(a.name, a.index);
    ASSERT_NE(control, nullptr);
    const RECT at = PlaceInParent(Hwnd(*control));
    const bool sized = a.place.right == 0;
    EXPECT_EQ((std::vector<LONG>{at.left, at.top, sized ? 0 : at.right, sized ? 0 : at.bottom}),
              (std::vector<LONG>{a.place.left, a.place.top, a.place.right, a.place.bottom}));
  }

  struct Placed {
    std::string name, kind;
    RECT place;
  };
  std::vector<Placed> placed;
  for (int i = 0; i < w.Window().ControlCount(); ++i) {
    ui::Control& control = w.Window().ControlAt(i);
    if (&control == &w.img1) continue;  // the hidden source of the help icons' picture
    const Placed now{control.Name() + " " + std::to_string(i), control.KindName(),
                     PlaceInParent(Hwnd(control))};
    const RECT& at = now.place;
    EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.right <= 438 && at.bottom <= 611 &&
                at.right > at.left && at.bottom > at.top)
        << now.name << " lies at " << at.left << "," << at.top << "-" << at.right << ","
        << at.bottom;
    for (const Placed& other : placed) {
      // A label sized to its caption may run under the box it names.
      const std::string kinds = now.kind + other.kind;
      if (kinds == "LabelTextBox" || kinds == "TextBoxLabel") continue;
      RECT both{};
      EXPECT_FALSE(IntersectRect(&both, &at, &other.place))
          << now.name << " overlaps " << other.name;
    }
    placed.push_back(now);
  }
}

// Where Tab goes from txttitle, as GetNextDlgTabItem (and so the dialog
// manager in the message loop) sees the window.
Names TabWalk(FrmMain& w) {
  Names names;
  HWND at = Hwnd(w.txttitle);
  do {
    std::string name = "?";
    for (int c = 0; c < w.Window().ControlCount(); ++c) {
      if (Hwnd(w.Window().ControlAt(c)) == at) name = w.Window().ControlAt(c).Name();
    }
    names.push_back(name);
    at = GetNextDlgTabItem(Hwnd(w.Window()), at, FALSE);
  } while (at != Hwnd(w.txttitle) && names.size() < 40);
  return names;
}

TEST_F(Win32MainWindow, TabAndAltKeysFollowTheKeyboardOrderThroughTheProgramsMessageLoop) {
  w.Window().Show();
  SetForegroundWindow(Hwnd(w.Window()));
  PumpMessages();
  Names order = {"txttitle",   "txtAuthor",  "txtURLText",  "txtURL",  "txtpath",      "cmdopen",
                 "lstFiles",   "cmdselall",  "txthomepage", "chkTOC",  "txtoutfolder", "cmdoutput",
                 "txtoutfile", "cmdcompile", "cmdExit",     "cmdSave", "cmdLoadFile",  "cmdNew"};
  EXPECT_EQ(TabWalk(w), order);

  w.txttitle.SetFocus();
  ASSERT_TRUE(testing::PumpUntil([&] { return w.txttitle.HasFocus(); }));
  PostMessageW(Hwnd(w.txttitle), WM_KEYDOWN, VK_TAB, 0);
  const auto services = dialogs::MakeWin32Services();
  services->DoEvents();
  EXPECT_TRUE(w.txtAuthor.HasFocus());
  EXPECT_EQ(w.txtAuthor.Text(), "");  // the Tab went to the dialog manager, not into a box

  // Alt and the underlined letter press the button.
  Names pressed;
  for (ui::Button* button : {&w.cmdselall, &w.cmdcompile, &w.cmdExit}) {
    button->onClick = [&pressed, button] { pressed.push_back(button->Name()); };
  }
  for (const wchar_t key : {L'c', L'x', L's'}) {
    PostMessageW(Hwnd(w.txtAuthor), WM_SYSCHAR, key, 1 << 29);  // with Alt down
    services->DoEvents();
  }
  EXPECT_EQ(pressed, (Names{"cmdcompile", "cmdExit", "cmdselall"}));

  // With the table-of-contents list and its button shown, they take their turn.
  w.lstTOC.SetVisible(true);
  w.cmdAddToTOC.SetVisible(true);
  order.insert(order.begin() + 10, {"lstTOC", "cmdAddToTOC"});
  EXPECT_EQ(TabWalk(w), order);
}

std::vector<COLORREF> Pixels(HWND window) {
  UpdateWindow(window);
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  ReleaseDC(window, dc);
  return pixels;
}

TEST_F(Win32MainWindow, TheStartUpFlattensEveryBoxAndShowsTenLikeHelpIcons) {
  std::vector<ui::Control*> boxes;
  for (int i = 0; i < w.Window().ControlCount(); ++i) {
    ui::Control& control = w.Window().ControlAt(i);
    const std::string kind = control.KindName();
    if (kind == "TextBox" || kind == "ListBox") boxes.push_back(&control);
  }
  ASSERT_EQ(boxes.size(), 10u);
  RECT before{};
  GetClientRect(Hwnd(w.txttitle), &before);

  w.Window().Show();
  PumpMessages();
  for (ui::Control* box : boxes) {
    const LONG exStyle = GetWindowLongW(Hwnd(*box), GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), WS_EX_STATICEDGE) << box->Name();
  }
  EXPECT_EQ(GetWindowLongW(Hwnd(w.cmdcompile), GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
  // The frame was recomputed: the thinner edge leaves a larger client area.
  RECT after{};
  GetClientRect(Hwnd(w.txttitle), &after);
  EXPECT_GT(after.right, before.right);

  // Every icon shows img1's one picture: the button face, light top-left,
  // dark bottom-right, with a black question mark.
  const std::vector<COLORREF> first = Pixels(Hwnd(*w.imghelp[0]));
  ASSERT_EQ(first.size(), 16u * 14u);
  EXPECT_EQ(first.front(), RGB(255, 255, 255));
  EXPECT_EQ(first.back(), RGB(0, 0, 0));
  EXPECT_GT(std::count(first.begin(), first.end(), RGB(0, 0, 0)), 16 + 15 + 10);
  for (ui::Image* icon : w.imghelp) EXPECT_EQ(Pixels(Hwnd(*icon)), first) << icon->Tag();
}

// The tip of the label below the file list needs the mouse: the label takes
// it, where the other labels let it through to the window.
TEST_F(Win32MainWindow, EveryToolTipIsRegisteredWithItsTextAndTheLabelWithATipTakesTheMouse) {
  HWND toolTip = nullptr;
  do {
    toolTip = FindWindowExW(nullptr, toolTip, TOOLTIPS_CLASSW, nullptr);
  } while (toolTip != nullptr && GetWindow(toolTip, GW_OWNER) != Hwnd(w.Window()));
  ASSERT_NE(toolTip, nullptr);
  EXPECT_EQ(SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0), 7);
  wchar_t text[64] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = Hwnd(w.Window());
  tool.uId = reinterpret_cast<UINT_PTR>(Hwnd(w.Label4));
  tool.lpszText = text;
  SendMessageW(toolTip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"The filenames are listed in the box above.");
  EXPECT_NE(GetWindowLongW(Hwnd(w.Label4), GWL_STYLE) & SS_NOTIFY, 0);
  EXPECT_EQ(GetWindowLongW(Hwnd(w.Label5), GWL_STYLE) & SS_NOTIFY, 0);
}

}  // namespace
}  // namespace vexmar::workspace
