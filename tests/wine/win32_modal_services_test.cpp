// The Win32 modal services: our own windows shown modally, pending messages
// run on demand, and the system's message box, folder browser and file
// dialogs, each answered the moment it appears, as an author would.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <string>

#include "platform/dialogs/win32/win32_services.h"
#include "support/temp_folder.h"
#include "wine/win32_host.h"

namespace vexmar::dialogs {
namespace {

using testing::Hwnd;

std::string TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}

BOOL CALLBACK AddChildText(HWND child, LPARAM texts) {
  *reinterpret_cast<std::string*>(texts) += TextOf(child) + "|";
  return TRUE;
}

// Every child's text, each followed by "|": what a dialog shows the author.
std::string ChildTexts(HWND window) {
  std::string texts;
  EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

BOOL CALLBACK FindSystemDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (!IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Answers a system dialog (a message box, the folder browser, a file dialog)
// the moment it appears, from inside the dialog's own modal loop, as an
// author would: runs `answer` once with the first visible one of this thread.
class WindowAnswerer {
 public:
  explicit WindowAnswerer(std::function<void(HWND)> answer) : answer_(std::move(answer)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, Tick);
  }
  ~WindowAnswerer() {
    KillTimer(nullptr, timer_);
    if (current_ == this) current_ = nullptr;
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    WindowAnswerer* self = current_;
    if (self == nullptr || self->answered_) return;
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSystemDialog, reinterpret_cast<LPARAM>(&found));
    if (found == nullptr) return;
    self->answered_ = true;
    self->answer_(found);
  }

  static inline WindowAnswerer* current_ = nullptr;
  std::function<void(HWND)> answer_;
  UINT_PTR timer_ = 0;
  bool answered_ = false;
};

// Types the name into whichever box the file dialog shows and confirms it.
std::function<void(HWND)> Confirm(const std::string& name) {
  return [name](HWND dialog) {
    SetDlgItemTextW(dialog, cmb13, testing::Wide(name).c_str());
    SetDlgItemTextW(dialog, edt1, testing::Wide(name).c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  };
}

void Cancel(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

class Win32ModalServices : public ::testing::Test {
 protected:
  void SetUp() override { owner.Show(); }
  bool OwnerTakesInput() const { return IsWindowEnabled(Hwnd(owner)) != FALSE; }

  testing::Win32Host host;
  std::unique_ptr<ModalServices> services = MakeWin32Services();
  ui::Form owner{*host.backend, testing::TestWindow("frmmain", 3000, 2000)};
};

// The close box hides the window, whose controls live on until it is
// unloaded, once.
TEST_F(Win32ModalServices, AModalWindowHoldsItsCentredOwnerUntilItsCloseBoxHidesItThenGivesItBack) {
  ui::FormDesign design =
      testing::TestWindow("frmhelp", 3000, 2000, ui::FormBorder::FixedToolWindow);
  design.startPosition = ui::StartPosition::CenterOwner;
  ui::Form help(*host.backend, design);
  ui::ControlDesign text;
  text.name = "txthelp";
  text.place = {100, 100, 1200, 300};
  ui::TextBox& box = help.Add<ui::TextBox>(text);
  box.SetText("kept");
  int unloads = 0;
  help.onUnload = [&] { ++unloads; };
  help.onLoad = [&] { PostMessageW(Hwnd(help), WM_SYSCOMMAND, SC_CLOSE, 0); };
  services->ShowModal(help, &owner);

  // That the owner takes no input meanwhile, and again after, author_e2e
  // sees with the help window and the Exit question.
  EXPECT_EQ(GetWindow(Hwnd(help), GW_OWNER), Hwnd(owner));
  EXPECT_FALSE(help.Visible());
  EXPECT_EQ(box.Text(), "kept");
  help.Close();
  EXPECT_EQ(unloads, 1);
  // DoEvents leaves the quit that closing the main window posts, with its
  // code, in the queue for the program's own loop.
  PostQuitMessage(3);
  services->DoEvents();
  MSG quit{};
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 3u);
  RECT placed{}, around{};
  GetWindowRect(Hwnd(help), &placed);
  GetWindowRect(Hwnd(owner), &around);
  EXPECT_NEAR(placed.left + placed.right, around.left + around.right, 2);
  EXPECT_NEAR(placed.top + placed.bottom, around.top + around.bottom, 2);
}

TEST_F(Win32ModalServices, AMessageBoxShowsTextAndTitleAndReportsTheButtonPressed) {
  const std::string text =
      "Compile the e-book \xE2\x80\x9C"
      "Caf\xC3\xA9\xE2\x80\x9D now?";
  std::string title;
  std::string texts;
  WindowAnswerer answerer([&](HWND box) {
    title = TextOf(box);
    texts = ChildTexts(box);
    PostMessageW(box, WM_COMMAND, IDNO, 0);
  });
  Message box{text, "Vexmar E-book Compiler", Buttons::YesNo, Icon::Question, owner.Handle()};
  EXPECT_EQ(services->ShowMessage(box), Answer::No);
  EXPECT_EQ(title, "Vexmar E-book Compiler");
  EXPECT_NE(texts.find(text), std::string::npos);
}

TEST_F(Win32ModalServices, TheFolderBrowserGivesTheChosenFolderWithoutASeparatorOrNothing) {
  // The browser opens on the desktop; confirming it gives its folder.
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
  const char* prompt = "Choose the folder were all your files are in below:";
  std::string texts;
  WindowAnswerer confirm([&](HWND browser) {
    texts = ChildTexts(browser);
    PostMessageW(browser, WM_COMMAND, IDOK, 0);
  });
  const std::string chosen = services->BrowseForFolder(owner.Handle(), prompt);
  EXPECT_EQ(chosen, text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(desktop)));
  EXPECT_NE(chosen.back(), '\\');
  EXPECT_NE(texts.find(prompt), std::string::npos);

  // A drive root keeps its own separator.
  WindowAnswerer root([](HWND browser) {
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(L"C:\\"));
    PostMessageW(browser, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(services->BrowseForFolder(owner.Handle(), "Choose"), "C:\\");

  WindowAnswerer cancel(Cancel);
  EXPECT_EQ(services->BrowseForFolder(owner.Handle(), "Choose"), "");
  EXPECT_TRUE(OwnerTakesInput());
}

// author_e2e opens a settings file through the open dialog, by its title.
TEST_F(Win32ModalServices, TheFileDialogsGiveTheNameTheAuthorConfirmsOrNothing) {
  testing::TempFolder dir;
  const std::string existing = dir.Write("project.ebc", "settings");
  // Saving over an existing file asks nothing: the Save command decides.
  WindowAnswerer save(Confirm(existing));
  FileDialog dialog{"Save settings", "Settings File|*.ebc", owner.Handle()};
  EXPECT_EQ(services->ChooseFileToSave(dialog), existing);

  WindowAnswerer cancel(Cancel);
  EXPECT_EQ(services->ChooseFileToOpen(dialog), "");
}

}  // namespace
}  // namespace vexmar::dialogs
