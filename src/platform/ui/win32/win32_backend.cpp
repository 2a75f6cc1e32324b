#include "platform/ui/win32/win32_backend.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <map>

#include "platform/ui/win32/win32_form.h"
#include "platform/ui/win32/win32_picture.h"

namespace vexmar::ui {
namespace {

class Win32Backend final : public Backend {
 public:
  Win32Backend() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
  }

  std::unique_ptr<FormPeer> CreateForm(Form& owner, const FormSpec& spec) override {
    return std::make_unique<win32::Win32Form>(owner, spec);
  }

  // One picture per name for the life of the backend, so every control given
  // a picture by name shares one bitmap.
  Picture LoadPicture(PictureName name) override {
    Picture& picture = pictures_[name];
    if (!picture) picture = win32::LoadProgramPicture(name);
    return picture;
  }

  Picture LoadPictureFile(const std::string& path) override {
    return win32::LoadBitmapFile(win32::Wide(path));
  }

  std::uint32_t ExtendedStyle(NativeHandle window) override {
    const HWND hwnd = Window(window);
    return hwnd == nullptr ? 0 : static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_EXSTYLE));
  }

  void SetExtendedStyle(NativeHandle window, std::uint32_t style) override {
    if (const HWND hwnd = Window(window))
      SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(style));
  }

  void RedrawFrame(NativeHandle window) override {
    if (const HWND hwnd = Window(window)) {
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }

 private:
  static HWND Window(NativeHandle handle) {
    const auto hwnd = reinterpret_cast<HWND>(handle);
    return hwnd != nullptr && IsWindow(hwnd) ? hwnd : nullptr;
  }

  std::map<PictureName, Picture> pictures_;
};

}  // namespace

std::unique_ptr<Backend> MakeWin32Backend() {
  return std::make_unique<Win32Backend>();
}

namespace win32 {

bool HandleDialogKeys(MSG& message) {
  if (message.hwnd == nullptr) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root == nullptr) return false;
  // Only our own windows: the system's dialogs run their own loops, and a
  // tool tip is no dialog.
  wchar_t className[32] = {};
  if (GetClassNameW(root, className, 32) == 0 || lstrcmpW(className, L"VexmarForm") != 0) {
    return false;
  }
  return IsDialogMessageW(root, &message) != FALSE;
}

void BeginModal(Form& form, Form* owner) {
  if (Win32Form* peer = AsWin32(form); peer != nullptr && owner != nullptr) {
    peer->BeginModal(reinterpret_cast<HWND>(owner->Handle()));
  }
}

}  // namespace win32
}  // namespace vexmar::ui
