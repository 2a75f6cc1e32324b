// The system's own dialogs behind the modal services: a message box, the
// folder browser and the open and save dialogs, each answered by the test
// the moment it appears, as an author would answer it.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <string>

#include "platform/dialogs/win32/win32_services.h"
#include "platform/text/text.h"
#include "support/temp_folder.h"
#include "wine/win32_host.h"
#include "wine/window_answerer.h"

namespace vexmar::dialogs {
namespace {

using testing::Hwnd;
using testing::TempFolder;
using testing::Win32Host;
using testing::WindowAnswerer;

std::wstring Wide(const std::string& utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}

BOOL CALLBACK CollectTexts(HWND child, LPARAM texts) {
  *reinterpret_cast<std::string*>(texts) += TextOf(child) + "|";
  return TRUE;
}

class Win32SystemDialogs : public ::testing::Test {
 protected:
  void SetUp() override { owner.Show(); }
  ui::FormDesign OwnerDesign() {
    ui::FormDesign design;
    design.name = "frmmain";
    design.caption = "Vexmar E-book Compiler";
    design.clientWidth = 3000;
    design.clientHeight = 2000;
    return design;
  }
  Win32Host host;
  std::unique_ptr<ModalServices> services = MakeWin32Services();
  ui::Form owner{*host.backend, OwnerDesign()};
};

TEST_F(Win32SystemDialogs, AMessageBoxShowsTextAndTitleAndReportsTheButtonPressed) {
  std::string title;
  std::string texts;
  bool ownerTookInput = true;
  WindowAnswerer answerer([&](HWND box) {
    title = TextOf(box);
    EnumChildWindows(box, CollectTexts, reinterpret_cast<LPARAM>(&texts));
    ownerTookInput = IsWindowEnabled(Hwnd(owner)) != FALSE;
    PostMessageW(box, WM_COMMAND, IDNO, 0);
  });
  Message box;
  box.text =
      "Compile the e-book \xE2\x80\x9C"
      "Caf\xC3\xA9\xE2\x80\x9D now?";
  box.title = "Vexmar E-book Compiler";
  box.buttons = Buttons::YesNo;
  box.icon = Icon::Question;
  box.owner = owner.Handle();
  EXPECT_EQ(services->ShowMessage(box), Answer::No);
  EXPECT_TRUE(answerer.Answered());
  EXPECT_EQ(title, "Vexmar E-book Compiler");
  EXPECT_NE(texts.find("Compile the e-book \xE2\x80\x9C"
                       "Caf\xC3\xA9\xE2\x80\x9D now?"),
            std::string::npos);
  EXPECT_FALSE(ownerTookInput);
  EXPECT_TRUE(IsWindowEnabled(Hwnd(owner)));
}

TEST_F(Win32SystemDialogs, TheFolderBrowserGivesTheChosenFolderWithoutASeparatorOrNothing) {
  // The browser opens on the desktop; confirming it gives its folder.
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
  std::string title;
  WindowAnswerer confirm([&](HWND browser) {
    EnumChildWindows(browser, CollectTexts, reinterpret_cast<LPARAM>(&title));
    PostMessageW(browser, WM_COMMAND, IDOK, 0);
  });
  const std::string chosen = services->BrowseForFolder(
      owner.Handle(), "Choose the folder were all your files are in below:");
  EXPECT_EQ(chosen, text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(desktop)));
  EXPECT_NE(chosen.back(), '\\');
  EXPECT_NE(title.find("Choose the folder were all your files are in below:"), std::string::npos);

  // A drive root keeps its own separator.
  WindowAnswerer root([](HWND browser) {
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(L"C:\\"));
    PostMessageW(browser, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(services->BrowseForFolder(owner.Handle(), "Choose"), "C:\\");

  WindowAnswerer cancel([](HWND browser) { PostMessageW(browser, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(services->BrowseForFolder(owner.Handle(), "Choose"), "");
  EXPECT_TRUE(cancel.Answered());
  EXPECT_TRUE(IsWindowEnabled(Hwnd(owner)));
}

TEST_F(Win32SystemDialogs, TheFileDialogsGiveTheNameTheAuthorConfirmsOrNothing) {
  TempFolder dir;
  const std::string existing = dir.Write("project.ebc", "settings");
  std::string title;
  WindowAnswerer open([&](HWND dialog) {
    title = TextOf(dialog);
    SetDlgItemTextW(dialog, cmb13, Wide(existing).c_str());
    SetDlgItemTextW(dialog, edt1, Wide(existing).c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  FileDialog dialog{"Open settings", "Settings File|*.ebc", owner.Handle()};
  EXPECT_EQ(services->ChooseFileToOpen(dialog), existing);
  EXPECT_EQ(title, "Open settings");

  // Saving over an existing file asks nothing: the Save command decides.
  WindowAnswerer save([&](HWND box) {
    SetDlgItemTextW(box, cmb13, Wide(existing).c_str());
    SetDlgItemTextW(box, edt1, Wide(existing).c_str());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  dialog.title = "Save settings";
  EXPECT_EQ(services->ChooseFileToSave(dialog), existing);

  WindowAnswerer cancel([](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(services->ChooseFileToOpen(dialog), "");
}

}  // namespace
}  // namespace vexmar::dialogs
