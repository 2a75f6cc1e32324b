// The control layer on real windows: what each control does with the HWND
// behind it, driven with the messages Windows sends for mouse and keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/win32/win32_metrics.h"
#include "wine/win32_host.h"

namespace vexmar::ui {
namespace {

using testing::Hwnd;
using testing::PlaceInParent;
using testing::PumpMessages;

ControlDesign At(const char* name, TwipsRect place, const char* caption = "") {
  ControlDesign design;
  design.name = name;
  design.place = place;
  design.caption = caption;
  return design;
}

class Win32Controls : public ::testing::Test {
 protected:
  testing::Win32Host host;
  Form form{*host.backend, testing::TestWindow("frmtest", 6000, 6000)};
};

TEST_F(Win32Controls, ACheckBoxHoldsAllThreeValuesAndAClickRunsItsReactionOnce) {
  CheckBox& box = form.Add<CheckBox>(At("chkTOC", {300, 300, 3135, 195}, "Table of Contents"));
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  form.Show();

  box.SetValue(2);
  EXPECT_EQ(SendMessageW(Hwnd(box), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  // The author's click on a grayed box clears it; the next one checks it.
  SendMessageW(Hwnd(box), BM_CLICK, 0, 0);
  EXPECT_EQ(box.Value(), 0);
  SendMessageW(Hwnd(box), BM_CLICK, 0, 0);
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(clicks, 3);
}

// The messages Windows sends for the author's clicks and keys: a click on an
// entry's box toggles it, one on its name only makes it current, the space
// bar toggles the current entry, and a quick second click is a second toggle
// on a box but a double-click on a name.
TEST_F(Win32Controls, ACheckListTogglesByItsBoxOrTheSpaceBarAndDoubleClicksOnANameOnly) {
  CheckList& list = form.Add<CheckList>(At("lstFiles", {300, 300, 3660, 1185}));
  int doubleClicks = 0;
  list.onDblClick = [&] { ++doubleClicks; };
  form.Show();
  for (const char* name : {"index.htm", "logo.gif"}) list.Add(name);
  const HWND hwnd = Hwnd(list);
  RECT entry{};
  SendMessageW(hwnd, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
  const auto click = [&](UINT message, int x) {
    SendMessageW(hwnd, message, MK_LBUTTON, MAKELPARAM(x, (entry.top + entry.bottom) / 2));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, (entry.top + entry.bottom) / 2));
  };
  click(WM_LBUTTONDOWN, 8);  // the box: down, then a double-click, then down
  EXPECT_TRUE(list.Checked(1));
  click(WM_LBUTTONDBLCLK, 8);
  EXPECT_FALSE(list.Checked(1));
  click(WM_LBUTTONDOWN, 8);
  click(WM_LBUTTONDOWN, 60);  // the name
  EXPECT_EQ(list.CurrentIndex(), 1);
  EXPECT_TRUE(list.Checked(1));
  EXPECT_EQ(doubleClicks, 0);
  SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(hwnd, WM_CHAR, L' ', 0);
  EXPECT_FALSE(list.Checked(1));
  click(WM_LBUTTONDBLCLK, 60);
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_FALSE(list.Checked(0) || list.Checked(1));
}

// author_e2e releases the mouse far from a pressed help icon, which the
// capture brings back to it.
TEST_F(Win32Controls, AnImageReportsEachButtonItWasPressedWithAndBordersInsideItsPlace) {
  Image& image = form.Add<Image>(At("imghelp", {300, 300, 240, 210}));
  std::vector<std::string> events;
  image.onMouseDown = [&](MouseButton b) { events.push_back("down " + std::to_string(int(b))); };
  image.onMouseUp = [&](MouseButton b) { events.push_back("up " + std::to_string(int(b))); };
  form.Show();
  PumpMessages();

  const HWND hwnd = Hwnd(image);
  SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
  SendMessageW(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(-200, 400));
  SendMessageW(hwnd, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(3, 3));
  SendMessageW(hwnd, WM_MBUTTONUP, 0, MAKELPARAM(3, 3));
  // A release whose press began elsewhere is none of the image's business.
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(events, (std::vector<std::string>{"down 1", "up 1", "down 2", "up 2"}));

  image.SetBorder(true);
  EXPECT_NE(GetWindowLongW(hwnd, GWL_STYLE) & WS_BORDER, 0);
  const RECT place = PlaceInParent(hwnd);
  EXPECT_EQ(place.right - place.left, 16);
  EXPECT_EQ(place.bottom - place.top, 14);
  image.SetBorder(false);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_BORDER, 0);
}

// A label of fixed width keeps it: the main window's places show that.
TEST_F(Win32Controls, ALabelSizesItselfToANewCaption) {
  Label& label = form.Add<Label>(At("Label2", {1335, 2280, 0, 195}, "Folder:"));
  const LONG before = PlaceInParent(Hwnd(label)).right;
  label.SetCaption("E-book Project Folder, a longer caption:");
  EXPECT_GT(PlaceInParent(Hwnd(label)).right, before + 60);
}

TEST_F(Win32Controls, ATextBoxKeepsItsTextSelectionAndColourInTheEditControl) {
  TextBox& box = form.Add<TextBox>(At("txttitle", {1440, 555, 3210, 325}));
  const char* text = "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
  box.SetText(text);
  EXPECT_EQ(box.Text(), text);
  box.SetSelLength(1000);  // clamped to the text
  EXPECT_EQ(box.SelStart(), 0);
  EXPECT_EQ(box.SelLength(), GetWindowTextLengthW(Hwnd(box)));
  box.SetText("new");
  EXPECT_EQ(box.SelLength(), 0);

  box.SetBackColor(kYellow);
  HDC dc = GetDC(Hwnd(box));
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(Hwnd(form), WM_CTLCOLOREDIT,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(Hwnd(box))));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0));
  ReleaseDC(Hwnd(box), dc);
  LOGBRUSH info{};
  ASSERT_NE(GetObjectW(brush, sizeof info, &info), 0);
  EXPECT_EQ(info.lbColor, RGB(255, 255, 0));
}

TEST_F(Win32Controls, ATimerTicksOnlyOnceItsWindowIsLoadedAndStopsWhenDisabled) {
  ControlDesign design = At("Timer1", {});
  design.timerIntervalMs = 20;
  Timer& timer = form.AddTimer(design);
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  const auto wait = [] {
    Sleep(60);
    PumpMessages();
  };
  wait();
  EXPECT_EQ(ticks, 0);
  form.Show();
  EXPECT_TRUE(testing::PumpUntil([&] { return ticks >= 2; }));
  timer.SetEnabled(false);
  const int stopped = ticks;
  wait();
  EXPECT_EQ(ticks, stopped);
}

}  // namespace
}  // namespace vexmar::ui
