#include "platform/dialogs/win32/win32_services.h"

#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/win32/win32_backend.h"
#include "platform/ui/win32/win32_window.h"

namespace vexmar::dialogs {
namespace {

using ui::win32::Utf8;
using ui::win32::Wide;

HWND OwnerWindow(ui::NativeHandle owner) {
  return reinterpret_cast<HWND>(owner);
}

void Dispatch(MSG& message) {
  if (ui::win32::HandleDialogKeys(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// "Settings File|*.ebc" as the dialogs want it: pairs separated and ended by
// NUL characters, the whole list ended by one more.
std::wstring FilterList(const std::string& filter) {
  std::wstring list = Wide(filter);
  for (wchar_t& c : list) {
    if (c == L'|') c = L'\0';
  }
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

// The longest path the dialogs may return, so a deep folder is not refused
// with FNERR_BUFFERTOOSMALL.
constexpr DWORD kFileNameCapacity = 32768;

class Win32Services final : public ModalServices {
 public:
  Answer ShowMessage(const Message& box) override {
    UINT type = box.buttons == Buttons::YesNo ? MB_YESNO : MB_OK;
    switch (box.icon) {
      case Icon::None:
        break;
      case Icon::Information:
        type |= MB_ICONINFORMATION;
        break;
      case Icon::Question:
        type |= MB_ICONQUESTION;
        break;
      case Icon::Critical:
        type |= MB_ICONERROR;
        break;
    }
    // Without an owner the box would let the program's windows take input
    // meanwhile; task-modal keeps every window of the program waiting.
    if (box.owner == 0) type |= MB_TASKMODAL;
    const std::wstring text = Wide(box.text);
    const std::wstring title = Wide(box.title);
    switch (MessageBoxW(OwnerWindow(box.owner), text.c_str(), title.c_str(), type)) {
      case IDYES:
        return Answer::Yes;
      case IDNO:
        return Answer::No;
      default:
        return Answer::Ok;
    }
  }

  std::string BrowseForFolder(ui::NativeHandle owner, const std::string& title) override {
    // The shell's browser needs COM on this thread; the call is balanced
    // whether or not COM was already started.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring wideTitle = Wide(title);
    BROWSEINFOW info{};
    info.hwndOwner = OwnerWindow(owner);
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = nullptr;
    info.lParam = 0;
    std::string chosen;
    if (PIDLIST_ABSOLUTE items = SHBrowseForFolderW(&info)) {
      // SHGetPathFromIDListW writes at most MAX_PATH characters.
      std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
      if (SHGetPathFromIDListW(items, path.data())) chosen = Utf8(path.data());
      CoTaskMemFree(items);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
  }

  std::string ChooseFileToOpen(const FileDialog& dialog) override {
    return RunFileDialog(dialog, false);
  }
  std::string ChooseFileToSave(const FileDialog& dialog) override {
    return RunFileDialog(dialog, true);
  }

  void ShowModal(ui::Form& form, ui::Form* owner) override {
    ui::win32::BeginModal(form, owner);
    form.Show();
    MSG message{};
    while (!form.Closed()) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == 0) {
        // The program is ending: the quit is left for the outer loop.
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      if (got == -1) break;
      Dispatch(message);
    }
    if (!form.Closed()) form.Close();
  }

  void DoEvents() override {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      Dispatch(message);
    }
  }

 private:
  static std::string RunFileDialog(const FileDialog& dialog, bool save) {
    const std::wstring title = Wide(dialog.title);
    const std::wstring filter = FilterList(dialog.filter);
    std::vector<wchar_t> name(kFileNameCapacity, L'\0');
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = OwnerWindow(dialog.owner);
    info.lpstrFilter = filter.c_str();
    info.nFilterIndex = 1;
    info.lpstrFile = name.data();
    info.nMaxFile = kFileNameCapacity;
    info.lpstrTitle = title.c_str();
    // No flags: no initial folder or default extension, and the save dialog
    // asks nothing about an existing file; the Save command decides that.
    const BOOL chosen = save ? GetSaveFileNameW(&info) : GetOpenFileNameW(&info);
    return chosen ? Utf8(name.data()) : std::string();
  }
};

}  // namespace

std::unique_ptr<ModalServices> MakeWin32Services() {
  return std::make_unique<Win32Services>();
}

int RunMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    Dispatch(message);
  }
}

}  // namespace vexmar::dialogs
