// Labels and separator lines: STATIC controls.
#include "platform/ui/win32/win32_controls.h"

namespace vexmar::ui::win32 {
namespace {

constexpr wchar_t kLineClass[] = L"VexmarLine";

COLORREF ToColorRef(Color colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

class Win32Label final : public ChildPeer<CaptionPeer> {
 public:
  Win32Label(Win32Form& form, const ControlDesign& design) : ChildPeer(form, design) {
    // A label with a tool tip must take the mouse (SS_NOTIFY); other labels
    // let it through to the window, as their text is no target.
    const DWORD style = VisibleStyle() | (design.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                        (design.toolTip.empty() ? 0u : static_cast<DWORD>(SS_NOTIFY));
    Attach(Create(L"STATIC", style, 0, Wide(design.caption)));
  }
  std::string Caption() const override { return WindowText(window_); }
  void SetCaption(const std::string& caption) override {
    // A transparent label paints only its text, so the window's background
    // under the old text is repainted first.
    InvalidateUnder();
    SetWindowTextUtf8(window_, caption);
    if (design_.autoSize) Layout(DpiOf(window_));
    InvalidateUnder();
  }
  void SetVisible(bool visible) override {
    ChildPeer::SetVisible(visible);
    if (!visible) InvalidateUnder();
  }
  ~Win32Label() override {
    if (brush_ != nullptr) DeleteObject(brush_);
  }
  HBRUSH OnColor(HDC dc) override {
    if (design_.foreColor) {
      SetTextColor(dc, ToColorRef(*design_.foreColor));
    } else {
      SetTextColor(dc, GetSysColor(design_.infoBackground ? COLOR_INFOTEXT : COLOR_BTNTEXT));
    }
    if (!design_.opaque) {
      SetBkMode(dc, TRANSPARENT);
      return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    if (!design_.infoBackground && !design_.backColor) {
      // Opaque in the window's own background: over a skin that is the
      // skin's pattern, with the text drawn transparently on it.
      if (form_.Skinned()) SetBkMode(dc, TRANSPARENT);
      SetBkColor(dc, form_.BackgroundColour());
      return ParentBackground(dc);
    }
    const COLORREF colour =
        design_.infoBackground ? GetSysColor(COLOR_INFOBK) : ToColorRef(*design_.backColor);
    if (brush_ == nullptr) brush_ = CreateSolidBrush(colour);
    SetBkColor(dc, colour);
    return brush_;
  }
  void Layout(UINT dpi) override {
    ChildWindow::Layout(dpi);
    if (!design_.autoSize) return;
    // The label takes the size of its caption in its own font at this DPI;
    // its top-left corner stays where the window's table puts it.
    const std::wstring caption = Wide(WindowText(window_));
    const SIZE extent = CaptionExtent(window_, Font(dpi), caption);
    SetWindowPos(window_, nullptr, 0, 0, extent.cx, extent.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  void InvalidateUnder() {
    RECT rect{};
    GetWindowRect(window_, &rect);
    MapWindowPoints(nullptr, form_.Window(), reinterpret_cast<POINT*>(&rect), 2);
    InvalidateRect(form_.Window(), &rect, TRUE);
  }

  HBRUSH brush_ = nullptr;
};

// A line across the window: etched (a shadow and a light edge) in the
// system's colours, or a solid line in the colour the table gives.
class Win32Line final : public ChildPeer<ControlPeer>, private MessageHandler {
 public:
  Win32Line(Win32Form& form, const ControlDesign& design) : ChildPeer(form, design) {
    static const wchar_t* const lineClass = RegisterOwnClass(kLineClass, 0, nullptr);
    Attach(CreateHandledWindow(0, lineClass, L"", WS_CHILD | WS_CLIPSIBLINGS | VisibleStyle(),
                               PixelRect(design.place, form.Dpi()), form.Window(),
                               form.NextControlId(), *this));
  }
  void Layout(UINT dpi) override {
    const RECT place = PixelRect(design_.place, dpi);
    const int height = place.bottom - place.top;
    SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left,
                 height < 2 ? 2 : height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return TRUE;
      case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        FillRect(dc, &client, ParentBackground(dc));
        if (design_.foreColor) {
          const Color colour = *design_.foreColor;
          const HBRUSH brush = CreateSolidBrush(RGB(colour.red, colour.green, colour.blue));
          RECT line{client.left, client.top, client.right, client.top + 1};
          FillRect(dc, &line, brush);
          DeleteObject(brush);
        } else {
          DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);
        }
        EndPaint(window, &paint);
        return 0;
      }
      default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
};

}  // namespace

std::unique_ptr<CaptionPeer> MakeLabel(Win32Form& form, const ControlDesign& design) {
  return std::make_unique<Win32Label>(form, design);
}

std::unique_ptr<ControlPeer> MakeLine(Win32Form& form, const ControlDesign& design) {
  return std::make_unique<Win32Line>(form, design);
}

}  // namespace vexmar::ui::win32
