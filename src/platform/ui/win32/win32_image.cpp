// Images: a small window class of our own that paints its picture at its
// top-left corner and reports presses and releases of every mouse button.
#include "platform/ui/win32/win32_controls.h"
#include "platform/ui/win32/win32_picture.h"

namespace vexmar::ui::win32 {
namespace {

constexpr wchar_t kImageClass[] = L"VexmarImage";

class Win32Image final : public ChildPeer<ImagePeer>, private MessageHandler {
 public:
  Win32Image(Win32Form& form, Image& owner, const ControlDesign& design)
      : ChildPeer(form, design), owner_(owner) {
    // No CS_DBLCLKS: a quick second press is one more press, as on any image.
    static const wchar_t* const imageClass = RegisterOwnClass(kImageClass, 0, nullptr);
    Attach(CreateHandledWindow(0, imageClass, L"", WS_CHILD | WS_CLIPSIBLINGS | VisibleStyle(),
                               PixelRect(design.place, form.Dpi()), form.Window(),
                               form.NextControlId(), *this));
  }

  void SetPicture(const Picture& picture) override {
    picture_ = picture;
    InvalidateRect(window_, nullptr, TRUE);
  }
  bool Border() const override { return (GetWindowLongW(window_, GWL_STYLE) & WS_BORDER) != 0; }
  void SetBorder(bool single) override {
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    const LONG wanted = single ? (style | WS_BORDER) : (style & ~static_cast<LONG>(WS_BORDER));
    if (wanted == style) return;
    SetWindowLongW(window_, GWL_STYLE, wanted);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(window_, nullptr, TRUE);
  }
  void CaptureMouse(bool capture) override {
    if (capture) {
      SetCapture(window_);
    } else if (held_ == 0 && GetCapture() == window_) {
      ReleaseCapture();
    }
  }

 private:
  static unsigned Bit(MouseButton button) { return 1u << static_cast<unsigned>(button); }

  void Press(MouseButton button) {
    held_ |= Bit(button);
    owner_.MouseDown(button);
  }
  // Only a button pressed on this image is released on it: a press that
  // began elsewhere and ends over the image is no release of the image.
  void Release(MouseButton button) {
    if ((held_ & Bit(button)) == 0) return;
    held_ &= ~Bit(button);
    owner_.MouseUp(button);
  }

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_LBUTTONDOWN:
        Press(MouseButton::Left);
        return 0;
      case WM_RBUTTONDOWN:
        Press(MouseButton::Right);
        return 0;
      case WM_MBUTTONDOWN:
        Press(MouseButton::Middle);
        return 0;
      case WM_LBUTTONUP:
        Release(MouseButton::Left);
        return 0;
      case WM_RBUTTONUP:
        Release(MouseButton::Right);
        return 0;
      case WM_MBUTTONUP:
        Release(MouseButton::Middle);
        return 0;
      case WM_CAPTURECHANGED:
        // Another window took the mouse (a window opened by the press): the
        // release will not come here.
        if (reinterpret_cast<HWND>(lParam) != window) held_ = 0;
        return 0;
      case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(window, &client);
        const auto dc = reinterpret_cast<HDC>(wParam);
        FillRect(dc, &client, ParentBackground(dc));
        return TRUE;
      }
      case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        if (const Win32Picture* picture = AsWin32(picture_)) picture->Draw(dc, 0, 0);
        EndPaint(window, &paint);
        return 0;
      }
      default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  Image& owner_;
  Picture picture_;
  unsigned held_ = 0;
};

}  // namespace

std::unique_ptr<ImagePeer> MakeImage(Win32Form& form, Image& owner, const ControlDesign& design) {
  return std::make_unique<Win32Image>(form, owner, design);
}

}  // namespace vexmar::ui::win32
