// The control layer on real windows: what each control does with the HWND
// behind it, driven with the messages Windows sends for mouse and keys.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/win32/win32_metrics.h"
#include "wine/message_pump.h"
#include "wine/win32_host.h"

namespace vexmar::ui {
namespace {

using testing::Hwnd;
using testing::PlaceInParent;
using testing::PumpMessages;
using testing::PumpUntil;
using testing::Win32Host;

FormDesign TestWindow() {
  FormDesign design;
  design.name = "frmtest";
  design.caption = "Test";
  design.clientWidth = 6000;
  design.clientHeight = 6000;
  return design;
}

ControlDesign At(const char* name, TwipsRect place) {
  ControlDesign design;
  design.name = name;
  design.place = place;
  return design;
}

LPARAM Point(int x, int y) {
  return MAKELPARAM(x, y);
}

class Win32Controls : public ::testing::Test {
 protected:
  Win32Host host;
  Form form{*host.backend, TestWindow()};
};

// --- check lists -----------------------------------------------------------------

class Win32CheckList : public Win32Controls {
 protected:
  void SetUp() override {
    for (const char* name : {"index.htm", "notes.txt", "logo.gif"}) list.Add(name);
    list.onDblClick = [this] { picked.push_back(list.CurrentText()); };
    form.Show();
    PumpMessages();
  }
  RECT Entry(int index) const {
    RECT rect{};
    SendMessageW(Hwnd(list), LB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  LPARAM OnBox(int index) const {
    const RECT rect = Entry(index);
    return Point(rect.left + 6, (rect.top + rect.bottom) / 2);
  }
  LPARAM OnText(int index) const {
    const RECT rect = Entry(index);
    return Point(rect.left + 60, (rect.top + rect.bottom) / 2);
  }
  void Click(LPARAM at) const {
    SendMessageW(Hwnd(list), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(Hwnd(list), WM_LBUTTONUP, 0, at);
  }
  void DoubleClick(LPARAM at) const {
    Click(at);
    SendMessageW(Hwnd(list), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(Hwnd(list), WM_LBUTTONUP, 0, at);
  }
  std::vector<bool> Checks() const {
    std::vector<bool> checks;
    for (int i = 0; i < list.Count(); ++i) checks.push_back(list.Checked(i));
    return checks;
  }

  CheckList& list = form.Add<CheckList>(At("lstFiles", {300, 300, 3660, 1185}));
  std::vector<std::string> picked;
};

TEST_F(Win32CheckList, AClickOnTheBoxTogglesAClickOnTheTextOnlyMakesItCurrent) {
  Click(OnText(1));
  EXPECT_EQ(list.CurrentIndex(), 1);
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));

  Click(OnBox(2));
  EXPECT_EQ(list.CurrentIndex(), 2);
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true}));
  Click(OnBox(2));
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(picked.empty());
}

TEST_F(Win32CheckList, TheSpaceBarTogglesTheCurrentEntryWithoutMovingIt) {
  list.SetCurrentIndex(0);
  SendMessageW(Hwnd(list), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(Hwnd(list), WM_CHAR, L' ', 0);
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(list.CurrentIndex(), 0);
  SendMessageW(Hwnd(list), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));

  list.SetCurrentIndex(-1);  // no current entry: nothing to toggle
  SendMessageW(Hwnd(list), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));
}

TEST_F(Win32CheckList, ADoubleClickOnTheTextPicksTheEntryOnTheBoxItTogglesTwice) {
  DoubleClick(OnText(2));
  EXPECT_EQ(picked, std::vector<std::string>{"logo.gif"});
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));

  DoubleClick(OnBox(1));
  EXPECT_EQ(picked, std::vector<std::string>{"logo.gif"});
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(list.CurrentIndex(), 1);
}

TEST_F(Win32CheckList, KeepsEntriesChecksAndNamesBeyondAsciiInTheListItself) {
  for (const char* name :
       {"\xC3\xA9t\xC3\xA9.htm", "\xE6\x97\xA5\xE6\x9C\xAC.txt", "\xF0\x9F\x98\x80.png"}) {
    list.Add(name);
  }
  list.SetChecked(4, true);
  ASSERT_EQ(list.Count(), 6);
  EXPECT_EQ(list.Entry(3), "\xC3\xA9t\xC3\xA9.htm");
  EXPECT_EQ(list.Entry(4), "\xE6\x97\xA5\xE6\x9C\xAC.txt");
  EXPECT_EQ(list.Entry(5), "\xF0\x9F\x98\x80.png");
  EXPECT_EQ(SendMessageW(Hwnd(list), LB_GETITEMDATA, 4, 0), 1);  // the mark is the item's data
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, false, false, true, false}));

  list.SetCurrentIndex(4);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.CurrentIndex(), -1);
  EXPECT_EQ(list.CurrentText(), "");
  list.Add("again.htm");
  EXPECT_FALSE(list.Checked(0));  // a new entry starts unchecked
}

// --- check boxes ---------------------------------------------------------------------

TEST_F(Win32Controls, ACheckBoxHoldsAllThreeValuesAndAClickRunsItsReactionOnce) {
  ControlDesign design = At("chkTOC", {300, 300, 3135, 195});
  design.caption = "Create a Table of Contents";
  CheckBox& box = form.Add<CheckBox>(design);
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  form.Show();

  box.SetValue(2);
  EXPECT_EQ(SendMessageW(Hwnd(box), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(clicks, 1);
  box.SetValue(2);
  EXPECT_EQ(clicks, 1);  // no change, no reaction

  // The author's click on a grayed box clears it; the next one checks it.
  SendMessageW(Hwnd(box), BM_CLICK, 0, 0);
  EXPECT_EQ(box.Value(), 0);
  EXPECT_EQ(clicks, 2);
  SendMessageW(Hwnd(box), BM_CLICK, 0, 0);
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(clicks, 3);
}

// --- images ----------------------------------------------------------------------------

TEST_F(Win32Controls, AnImageKeepsTheMouseFromPressToReleaseWithAnyButton) {
  ControlDesign design = At("imghelp", {300, 300, 240, 210});
  design.tag = "3";
  Image& image = form.Add<Image>(design);
  std::vector<std::string> events;
  image.onMouseDown = [&](MouseButton b) { events.push_back("down " + std::to_string(int(b))); };
  image.onMouseUp = [&](MouseButton b) { events.push_back("up " + std::to_string(int(b))); };
  form.Show();
  PumpMessages();

  const HWND hwnd = Hwnd(image);
  SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, Point(3, 3));
  EXPECT_EQ(GetCapture(), hwnd);
  // The release comes far outside the image: the capture brings it here.
  SendMessageW(hwnd, WM_RBUTTONUP, 0, Point(-200, 400));
  EXPECT_NE(GetCapture(), hwnd);
  SendMessageW(hwnd, WM_MBUTTONDOWN, MK_MBUTTON, Point(3, 3));
  SendMessageW(hwnd, WM_MBUTTONUP, 0, Point(3, 3));
  // A release whose press began elsewhere is none of the image's business.
  SendMessageW(hwnd, WM_LBUTTONUP, 0, Point(3, 3));
  EXPECT_EQ(events, (std::vector<std::string>{"down 1", "up 1", "down 2", "up 2"}));
}

TEST_F(Win32Controls, AnImagesBorderIsItsWindowsSingleLineBorder) {
  Image& image = form.Add<Image>(At("imghelp", {300, 300, 240, 210}));
  EXPECT_FALSE(image.Border());
  image.SetBorder(true);
  EXPECT_TRUE(image.Border());
  EXPECT_NE(GetWindowLongW(Hwnd(image), GWL_STYLE) & WS_BORDER, 0);
  // The border is drawn inside the image's own place.
  const RECT place = PlaceInParent(Hwnd(image));
  EXPECT_EQ(place.right - place.left, 16);
  EXPECT_EQ(place.bottom - place.top, 14);
  image.SetBorder(false);
  EXPECT_FALSE(image.Border());
}

// --- labels and text boxes -------------------------------------------------------------

TEST_F(Win32Controls, ALabelSizesItselfToItsCaptionUnlessItsWidthIsFixed) {
  ControlDesign design = At("Label2", {1335, 2280, 0, 195});
  design.caption = "E-book Project Folder:";
  Label& sized = form.Add<Label>(design);
  ControlDesign fixedDesign = At("Label4", {1320, 4800, 4620, 195});
  fixedDesign.caption = "Short";
  fixedDesign.autoSize = false;
  Label& fixed = form.Add<Label>(fixedDesign);

  RECT place = PlaceInParent(Hwnd(sized));
  EXPECT_EQ(place.left, TwipsToPixels(1335, 96));
  EXPECT_EQ(place.top, TwipsToPixels(2280, 96));
  const int width = place.right - place.left;
  EXPECT_GT(width, 60);
  EXPECT_GT(place.bottom - place.top, 8);

  sized.SetCaption("E-book Project Folder, a longer caption:");
  place = PlaceInParent(Hwnd(sized));
  EXPECT_GT(place.right - place.left, width);
  EXPECT_EQ(place.left, TwipsToPixels(1335, 96));

  EXPECT_EQ(PlaceInParent(Hwnd(fixed)).right - PlaceInParent(Hwnd(fixed)).left,
            TwipsToPixels(4620, 96));
  EXPECT_EQ(fixed.Caption(), "Short");
}

TEST_F(Win32Controls, ATextBoxKeepsItsTextSelectionAndColourInTheEditControl) {
  TextBox& box = form.Add<TextBox>(At("txttitle", {1440, 555, 3210, 325}));
  box.SetText("Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
  EXPECT_EQ(box.Text(), "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
  EXPECT_EQ(box.SelLength(), 0);

  box.SetSelLength(1000);  // clamped to the text
  EXPECT_EQ(box.SelStart(), 0);
  EXPECT_EQ(box.SelLength(), GetWindowTextLengthW(Hwnd(box)));
  box.SetText("new");
  EXPECT_EQ(box.SelLength(), 0);

  EXPECT_EQ(box.BackColor(), kWindowWhite);
  box.SetBackColor(kYellow);
  EXPECT_EQ(box.BackColor(), kYellow);
  HDC dc = GetDC(Hwnd(box));
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(Hwnd(form), WM_CTLCOLOREDIT,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(Hwnd(box))));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0));
  ReleaseDC(Hwnd(box), dc);
  LOGBRUSH info{};
  ASSERT_NE(GetObjectW(brush, sizeof info, &info), 0);
  EXPECT_EQ(info.lbColor, RGB(255, 255, 0));
  EXPECT_EQ(GetWindowLongW(Hwnd(box), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

// --- windows, timers, pictures ------------------------------------------------------

TEST_F(Win32Controls, ClosingByTheCloseBoxOrByCommandUnloadsOnceAndKeepsTheControls) {
  TextBox& box = form.Add<TextBox>(At("txttitle", {1440, 555, 3210, 325}));
  box.SetText("kept");
  int unloads = 0;
  form.onUnload = [&] { ++unloads; };
  form.Show();
  EXPECT_TRUE(form.Visible());
  SendMessageW(Hwnd(form), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(IsWindow(Hwnd(form)));
  EXPECT_EQ(box.Text(), "kept");
  form.Close();
  EXPECT_EQ(unloads, 1);
}

TEST_F(Win32Controls, AFixedDialogIsCentredWithoutSizingOrMaximizing) {
  form.Show();
  const LONG style = GetWindowLongW(Hwnd(form), GWL_STYLE);
  EXPECT_NE(style & WS_CAPTION, 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
  RECT client{};
  GetClientRect(Hwnd(form), &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 400);

  RECT outer{};
  GetWindowRect(Hwnd(form), &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(Hwnd(form), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 1);
  EXPECT_NEAR(outer.top - work.top, work.bottom - outer.bottom, 1);
}

TEST_F(Win32Controls, ATimerTicksOnlyOnceItsWindowIsLoaded) {
  ControlDesign design;
  design.name = "Timer1";
  design.timerIntervalMs = 20;
  Timer& timer = form.AddTimer(design);
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  Sleep(60);
  PumpMessages();
  EXPECT_EQ(ticks, 0);
  form.Show();
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  timer.SetEnabled(false);
  const int stopped = ticks;
  Sleep(60);
  PumpMessages();
  EXPECT_EQ(ticks, stopped);
}

TEST_F(Win32Controls, TheProgramsPicturesComeFromItsResourcesOncePerName) {
  struct Case {
    PictureName name;
    int width;
    int height;
  };
  for (const Case& c :
       {Case{PictureName::HelpIcon, 16, 14}, Case{PictureName::NewButton, 16, 16},
        Case{PictureName::OpenButton, 16, 16}, Case{PictureName::SaveButton, 16, 16},
        Case{PictureName::ProgramIcon, 32, 32}, Case{PictureName::HelpWindowIcon, 32, 32}}) {
    SCOPED_TRACE(static_cast<int>(c.name));
    const Picture picture = host.backend->LoadPicture(c.name);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->WidthPixels(), c.width);
    EXPECT_EQ(picture->HeightPixels(), c.height);
    EXPECT_EQ(host.backend->LoadPicture(c.name), picture);
  }
}

TEST_F(Win32Controls, APictureFileIsABitmapOrNothing) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string bitmap = std::string(folder) + "vexmar_2x3.bmp";
  const std::string text = std::string(folder) + "vexmar_not_a_picture.bmp";
  // A 2 x 3 pixel, 24-bit bitmap: rows of 6 bytes padded to 8.
  std::string bytes = "BM";
  auto dword = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto word = [&](std::uint16_t v) {
    bytes.push_back(static_cast<char>(v & 0xFF));
    bytes.push_back(static_cast<char>(v >> 8));
  };
  dword(54 + 24), word(0), word(0), dword(54);
  dword(40), dword(2), dword(3), word(1), word(24), dword(0), dword(24), dword(0), dword(0),
      dword(0), dword(0);
  bytes.append(24, '\x7f');
  for (const auto& [path, content] :
       {std::pair{bitmap, bytes}, std::pair{text, std::string("x")}}) {
    FILE* out = fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    fwrite(content.data(), 1, content.size(), out);
    fclose(out);
  }
  const Picture picture = host.backend->LoadPictureFile(bitmap);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->WidthPixels(), 2);
  EXPECT_EQ(picture->HeightPixels(), 3);
  EXPECT_EQ(host.backend->LoadPictureFile(text), nullptr);
  EXPECT_EQ(host.backend->LoadPictureFile(std::string(folder) + "vexmar_missing.bmp"), nullptr);
  DeleteFileA(bitmap.c_str());
  DeleteFileA(text.c_str());
}

}  // namespace
}  // namespace vexmar::ui
