// The real main window on the Win32 backend: its size and every control's
// place at 96 DPI, the keyboard order, the flat edges of its boxes and lists,
// the help icons and the hidden table-of-contents controls after the
// start-up, and its file list driven with the mouse and the keyboard.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "build/build_command.h"
#include "platform/dialogs/win32/win32_services.h"
#include "platform/ui/win32/win32_metrics.h"
#include "program/main_program.h"
#include "settings/lifecycle.h"
#include "wine/message_pump.h"
#include "wine/win32_host.h"
#include "workspace/frm_main.h"

namespace vexmar::workspace {
namespace {

using testing::Hwnd;
using testing::PlaceInParent;
using testing::PumpMessages;
using testing::PumpUntil;
using testing::Win32Host;

class Win32MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ui::win32::DpiOf(Hwnd(w.Window())) != 96) GTEST_SKIP() << "the places are given at 96 DPI";
  }
  ui::Control& Named(const std::string& name, int index = -1) {
    ui::Control* control = w.Window().Find(name, index);
    EXPECT_NE(control, nullptr) << name;
    return *control;
  }

  Win32Host host;
  // The whole program: showing the window runs its start-up.
  program::MainProgram program{host.host, build::DefaultBuildSetup(host.host), [this] { ++ended; }};
  FrmMain& w = program.Window();
  int ended = 0;
};

TEST_F(Win32MainWindow, HasAClientAreaOf438By611PixelsInAFixedDialogFrame) {
  RECT client{};
  GetClientRect(Hwnd(w.Window()), &client);
  EXPECT_EQ(client.right, 438);
  EXPECT_EQ(client.bottom, 611);
  const LONG style = GetWindowLongW(Hwnd(w.Window()), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
  EXPECT_NE(SendMessageW(Hwnd(w.Window()), WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(Win32MainWindow, PutsEveryBoxListAndButtonInItsPixelRectangle) {
  struct Case {
    const char* name;
    RECT place;
  };
  // Left, top, right, bottom: 15 twips a pixel, each number rounded.
  const Case cases[] = {
      {"txttitle", {96, 37, 310, 59}},       {"txtAuthor", {96, 61, 310, 83}},
      {"txtURLText", {96, 85, 310, 107}},    {"txtURL", {96, 109, 310, 131}},
      {"txtpath", {89, 168, 331, 190}},      {"lstFiles", {87, 208, 331, 287}},
      {"txthomepage", {88, 336, 269, 358}},  {"chkTOC", {88, 368, 297, 381}},
      {"lstTOC", {88, 384, 332, 463}},       {"txtoutfolder", {96, 480, 279, 502}},
      {"txtoutfile", {96, 504, 313, 526}},   {"cmdNew", {96, 0, 129, 25}},
      {"cmdLoadFile", {152, 0, 185, 25}},    {"cmdSave", {208, 0, 241, 25}},
      {"cmdopen", {336, 168, 357, 187}},     {"cmdselall", {336, 208, 409, 229}},
      {"cmdAddToTOC", {336, 392, 409, 417}}, {"cmdoutput", {288, 480, 313, 499}},
      {"cmdcompile", {275, 536, 356, 559}},  {"cmdExit", {83, 536, 164, 559}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RECT place = PlaceInParent(Hwnd(Named(c.name)));
    EXPECT_EQ(place.left, c.place.left);
    EXPECT_EQ(place.top, c.place.top);
    EXPECT_EQ(place.right, c.place.right);
    EXPECT_EQ(place.bottom, c.place.bottom);
  }
}

TEST_F(Win32MainWindow, PutsLabelsIconsAndLinesAtTheirCorners) {
  struct Case {
    const char* name;
    int index;
    int left;
    int top;
  };
  const Case labels[] = {{"lbltitle", -1, 16, 39}, {"Label1", -1, 16, 63},  {"Label3", -1, 16, 85},
                         {"Label8", -1, 16, 109},  {"Label2", -1, 89, 152}, {"Label5", -1, 88, 192},
                         {"Label4", -1, 88, 320},  {"Label6", -1, 16, 480}, {"Label7", -1, 24, 504},
                         {"lblNums", 0, 16, 168},  {"lblNums", 1, 16, 208}, {"lblNums", 2, 16, 336},
                         {"lblNums", 3, 16, 368}};
  for (const Case& c : labels) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.index));
    const RECT place = PlaceInParent(Hwnd(Named(c.name, c.index)));
    EXPECT_EQ(place.left, c.left);
    EXPECT_EQ(place.top, c.top);
    EXPECT_GT(place.right - place.left, 0);
  }
  // The home-page label keeps its fixed width; the step numbers theirs.
  EXPECT_EQ(PlaceInParent(Hwnd(w.Label4)).right, 88 + 308);
  EXPECT_EQ(PlaceInParent(Hwnd(*w.lblNums[0])).right, 16 + 25);

  const Case icons[] = {{"imghelp", 0, 312, 40},  {"imghelp", 1, 312, 64},
                        {"imghelp", 2, 360, 168}, {"imghelp", 3, 272, 336},
                        {"imghelp", 4, 312, 192}, {"imghelp", 5, 320, 480},
                        {"imghelp", 6, 320, 504}, {"imghelp", 7, 320, 368},
                        {"imghelp", 8, 312, 85},  {"imghelp", 9, 312, 109}};
  for (const Case& c : icons) {
    SCOPED_TRACE(c.index);
    const RECT place = PlaceInParent(Hwnd(Named(c.name, c.index)));
    EXPECT_EQ(place.left, c.left);
    EXPECT_EQ(place.top, c.top);
    EXPECT_EQ(place.right - place.left, 16);
    EXPECT_EQ(place.bottom - place.top, 14);
  }
  for (const auto& [line, top] : {std::pair{&w.Line1, 136}, {&w.Line2, 472}, {&w.Line3, 528}}) {
    const RECT place = PlaceInParent(Hwnd(*line));
    EXPECT_EQ(place.left, 16);
    EXPECT_EQ(place.top, top);
    EXPECT_EQ(place.right, 424);
  }
}

// Where Tab goes from each field, as GetNextDlgTabItem (and so the dialog
// manager in the message loop) sees the window.
std::vector<std::string> TabWalkFrom(FrmMain& w, ui::Control& first) {
  std::vector<std::string> names;
  const HWND form = Hwnd(w.Window());
  HWND at = Hwnd(first);
  for (int i = 0; i < 40; ++i) {
    std::string name = "?";
    for (int c = 0; c < w.Window().ControlCount(); ++c) {
      if (Hwnd(w.Window().ControlAt(c)) == at) name = w.Window().ControlAt(c).Name();
    }
    names.push_back(name);
    at = GetNextDlgTabItem(form, at, FALSE);
    if (at == Hwnd(first)) break;
  }
  return names;
}

TEST_F(Win32MainWindow, TabMovesThroughTheFieldsInTheKeyboardOrder) {
  w.Window().Show();
  PumpMessages();
  EXPECT_EQ(TabWalkFrom(w, w.txttitle),
            (std::vector<std::string>{"txttitle", "txtAuthor", "txtURLText", "txtURL", "txtpath",
                                      "cmdopen", "lstFiles", "cmdselall", "txthomepage", "chkTOC",
                                      "txtoutfolder", "cmdoutput", "txtoutfile", "cmdcompile",
                                      "cmdExit", "cmdSave", "cmdLoadFile", "cmdNew"}));
  // With the table-of-contents list and its button shown, they take their turn.
  w.lstTOC.SetVisible(true);
  w.cmdAddToTOC.SetVisible(true);
  EXPECT_EQ(TabWalkFrom(w, w.txttitle),
            (std::vector<std::string>{"txttitle",     "txtAuthor", "txtURLText",  "txtURL",
                                      "txtpath",      "cmdopen",   "lstFiles",    "cmdselall",
                                      "txthomepage",  "chkTOC",    "lstTOC",      "cmdAddToTOC",
                                      "txtoutfolder", "cmdoutput", "txtoutfile",  "cmdcompile",
                                      "cmdExit",      "cmdSave",   "cmdLoadFile", "cmdNew"}));
}

TEST_F(Win32MainWindow, TheTabKeyMovesTheFocusThroughTheProgramsMessageLoop) {
  w.Window().Show();
  SetForegroundWindow(Hwnd(w.Window()));
  w.txttitle.SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return w.txttitle.HasFocus(); }));
  PostMessageW(Hwnd(w.txttitle), WM_KEYDOWN, VK_TAB, 0);
  const auto services = dialogs::MakeWin32Services();
  services->DoEvents();
  EXPECT_TRUE(w.txtAuthor.HasFocus());
  EXPECT_EQ(w.txtAuthor.Text(), "");  // the Tab went to the dialog manager, not into a box

  // Alt and the underlined letter press the button.
  std::vector<std::string> pressed;
  w.cmdselall.onClick = [&] { pressed.push_back("cmdselall"); };
  w.cmdcompile.onClick = [&] { pressed.push_back("cmdcompile"); };
  w.cmdExit.onClick = [&] { pressed.push_back("cmdExit"); };
  const LPARAM altDown = 1 << 29;
  for (const wchar_t key : {L'c', L'x', L's'}) {
    PostMessageW(Hwnd(w.txtAuthor), WM_SYSCHAR, key, altDown);
    services->DoEvents();
  }
  EXPECT_EQ(pressed, (std::vector<std::string>{"cmdcompile", "cmdExit", "cmdselall"}));
}

TEST_F(Win32MainWindow, TheStartUpGivesEveryBoxAndListAFlatEdgeHiddenOnesIncluded) {
  std::vector<ui::Control*> boxes;
  for (int i = 0; i < w.Window().ControlCount(); ++i) {
    ui::Control& control = w.Window().ControlAt(i);
    const std::string kind = control.KindName();
    if (kind == "TextBox" || kind == "ListBox") boxes.push_back(&control);
  }
  ASSERT_EQ(boxes.size(), 10u);
  for (ui::Control* box : boxes) {
    EXPECT_NE(GetWindowLongW(Hwnd(*box), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0) << box->Name();
  }
  RECT before{};
  GetClientRect(Hwnd(w.txttitle), &before);

  w.Window().Show();
  for (ui::Control* box : boxes) {
    SCOPED_TRACE(box->Name());
    const LONG exStyle = GetWindowLongW(Hwnd(*box), GWL_EXSTYLE);
    EXPECT_NE(exStyle & WS_EX_STATICEDGE, 0);
    EXPECT_EQ(exStyle & WS_EX_CLIENTEDGE, 0);
  }
  EXPECT_FALSE(w.lstTOC.Visible());
  // The frame was recomputed: the thinner edge leaves a larger client area.
  RECT after{};
  GetClientRect(Hwnd(w.txttitle), &after);
  EXPECT_GT(after.right, before.right);
  EXPECT_EQ(GetWindowLongW(Hwnd(w.cmdcompile), GWL_EXSTYLE) & WS_EX_STATICEDGE, 0);
}

TEST_F(Win32MainWindow, ClosingTheWindowEndsTheProgramOnce) {
  w.Window().Show();
  EXPECT_EQ(w.Window().Caption(), settings::kMainCaption);
  SendMessageW(Hwnd(w.Window()), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(w.Window().Visible());
}

TEST_F(Win32MainWindow, StartsWithTheContentsListAndItsButtonHiddenAndTenHelpIcons) {
  w.Window().Show();
  PumpMessages();
  EXPECT_TRUE(IsWindowVisible(Hwnd(w.Window())));
  EXPECT_FALSE(IsWindowVisible(Hwnd(w.lstTOC)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(w.cmdAddToTOC)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(w.img1)));
  EXPECT_EQ(SendMessageW(Hwnd(w.chkTOC), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  int shown = 0;
  for (ui::Image* icon : w.imghelp) shown += IsWindowVisible(Hwnd(*icon)) ? 1 : 0;
  EXPECT_EQ(shown, 10);
}

// What the screen shows in a window's client area, pixel by pixel.
std::vector<COLORREF> Pixels(HWND window) {
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

TEST_F(Win32MainWindow, TheTenHelpIconsShowTheOneQuestionMarkPictureOfImg1) {
  const ui::Picture picture = w.img1.GetPicture();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->WidthPixels(), 16);
  EXPECT_EQ(picture->HeightPixels(), 14);
  for (ui::Image* icon : w.imghelp) {
    if (icon->GetPicture() == nullptr) icon->SetPicture(picture);  // as the start-up does
    EXPECT_EQ(icon->GetPicture(), picture);
  }
  w.Window().Show();
  PumpMessages();
  for (ui::Image* icon : w.imghelp) UpdateWindow(Hwnd(*icon));

  const std::vector<COLORREF> first = Pixels(Hwnd(*w.imghelp[0]));
  ASSERT_EQ(first.size(), 16u * 14u);
  // The button face: light top-left corner, dark bottom-right, a black mark.
  EXPECT_EQ(first.front(), RGB(255, 255, 255));
  EXPECT_EQ(first.back(), RGB(0, 0, 0));
  int black = 0;
  for (COLORREF pixel : first) black += pixel == RGB(0, 0, 0) ? 1 : 0;
  EXPECT_GT(black, 16 + 15 + 10);  // the shadow edges and the question mark
  for (ui::Image* icon : w.imghelp) {
    SCOPED_TRACE(icon->Tag());
    EXPECT_EQ(Pixels(Hwnd(*icon)), first);
  }
}

TEST_F(Win32MainWindow, TheFileListTogglesWithMouseAndSpaceAndADoubleClickPicksTheHomePage) {
  w.Window().Show();
  for (const char* name : {"index.htm", "notes.txt"}) w.lstFiles.Add(name);
  const HWND list = Hwnd(w.lstFiles);
  RECT entry{};
  SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
  const LPARAM box = MAKELPARAM(entry.left + 6, (entry.top + entry.bottom) / 2);
  const LPARAM text = MAKELPARAM(entry.left + 60, (entry.top + entry.bottom) / 2);

  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, box);
  SendMessageW(list, WM_LBUTTONUP, 0, box);
  EXPECT_TRUE(w.lstFiles.Checked(1));
  SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_FALSE(w.lstFiles.Checked(1));

  w.txthomepage.SetText("old.htm");
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, text);
  SendMessageW(list, WM_LBUTTONUP, 0, text);
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, text);
  SendMessageW(list, WM_LBUTTONUP, 0, text);
  EXPECT_EQ(w.txthomepage.Text(), "notes.txt");
  EXPECT_FALSE(w.lstFiles.Checked(1));
}

BOOL CALLBACK FindToolTip(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

std::string ToolTipText(HWND toolTip, HWND form, HWND control) {
  wchar_t text[256] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  SendMessageW(toolTip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  std::string utf8;
  for (const wchar_t* c = text; *c != 0; ++c) utf8.push_back(static_cast<char>(*c));
  return utf8;
}

TEST_F(Win32MainWindow, EveryToolTipOfTheWindowIsRegisteredWithItsText) {
  HWND toolTip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindToolTip, reinterpret_cast<LPARAM>(&toolTip));
  ASSERT_NE(toolTip, nullptr);
  EXPECT_EQ(GetWindow(toolTip, GW_OWNER), Hwnd(w.Window()));
  struct Case {
    ui::Control* control;
    const char* text;
  };
  const Case cases[] = {
      {&w.cmdNew, "New"},
      {&w.cmdLoadFile, "Open from file"},
      {&w.cmdSave, "Save"},
      {&w.txthomepage,
       "Type the filename or double-click the entry above.  Make sure it is checked."},
      {&w.chkTOC, "Add a TOC so users can view all your pages."},
      {&w.cmdAddToTOC, "Add selected files to Table of Contents to include."},
      {&w.Label4, "The filenames are listed in the box above."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToolTipText(toolTip, Hwnd(w.Window()), Hwnd(*c.control)), c.text)
        << c.control->Name();
  }
  EXPECT_EQ(SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0), 7);
  // The label takes the mouse, so its tip can show; the others let it through.
  EXPECT_NE(GetWindowLongW(Hwnd(w.Label4), GWL_STYLE) & SS_NOTIFY, 0);
  EXPECT_EQ(GetWindowLongW(Hwnd(w.Label5), GWL_STYLE) & SS_NOTIFY, 0);
}

int FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return static_cast<int>(font.lfHeight);
}

TEST_F(Win32MainWindow, MovingToAScreenOfAnotherDpiLaysOutControlsAndFontsAgain) {
  const HWND window = Hwnd(w.Window());
  RECT suggested{};
  GetWindowRect(window, &suggested);
  EXPECT_EQ(FontHeight(Hwnd(w.txttitle)), -11);  // 8.25 pt at 96 DPI

  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT place = PlaceInParent(Hwnd(w.txttitle));
  EXPECT_EQ(place.left, 144);
  EXPECT_EQ(place.top, 56);
  EXPECT_EQ(place.right, 144 + 321);
  EXPECT_EQ(place.bottom, 56 + 33);
  EXPECT_EQ(FontHeight(Hwnd(w.txttitle)), -17);
  EXPECT_EQ(FontHeight(Hwnd(*w.lblNums[0])), -17);
  place = PlaceInParent(Hwnd(*w.imghelp[0]));
  EXPECT_EQ(place.right - place.left, 24);  // 240 twips
  EXPECT_EQ(PlaceInParent(Hwnd(w.lbltitle)).top, 59);

  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  place = PlaceInParent(Hwnd(w.txttitle));
  EXPECT_EQ(place.left, 96);
  EXPECT_EQ(place.bottom, 59);
  EXPECT_EQ(FontHeight(Hwnd(w.txttitle)), -11);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 438);
  EXPECT_EQ(client.bottom, 611);
}

}  // namespace
}  // namespace vexmar::workspace
