#include "platform/ui/win32/win32_backend.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <deque>
#include <map>

#include "platform/ui/win32/win32_form.h"
#include "platform/ui/win32/win32_picture.h"
#include "platform/ui/win32/win32_window.h"

namespace vexmar::ui {
namespace {

constexpr wchar_t kLaterClass[] = L"VexmarLater";
constexpr UINT kRunLater = WM_APP + 1;

class Win32Backend final : public Backend, private win32::MessageHandler {
 public:
  Win32Backend() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    // Tasks for later travel as a message to a window of our own, which
    // every message loop dispatches (a message box's and a modal window's
    // too); a thread message would be lost in those loops.
    static const wchar_t* const laterClass = win32::RegisterOwnClass(kLaterClass, 0, nullptr);
    later_ =
        win32::CreateHandledWindow(0, laterClass, L"", 0, RECT{0, 0, 0, 0}, HWND_MESSAGE, 0, *this);
  }
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;
  ~Win32Backend() override {
    if (later_ == nullptr) return;
    win32::DetachHandler(later_);
    DestroyWindow(later_);
  }

  void Later(std::function<void()> task) override {
    tasks_.push_back(std::move(task));
    if (later_ != nullptr) PostMessageW(later_, kRunLater, 0, 0);
  }

  std::unique_ptr<FormPeer> CreateForm(Form& owner, const FormDesign& design) override {
    return std::make_unique<win32::Win32Form>(owner, design);
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

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != kRunLater) return DefWindowProcW(window, message, wParam, lParam);
    // One message per task; a task may leave further tasks, each with its own.
    if (!tasks_.empty()) {
      const std::function<void()> task = std::move(tasks_.front());
      tasks_.pop_front();
      task();
    }
    return 0;
  }

  std::map<PictureName, Picture> pictures_;
  HWND later_ = nullptr;
  std::deque<std::function<void()>> tasks_;
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
