// Text boxes: one-line EDIT controls.
#include "platform/ui/win32/win32_controls.h"

namespace vexmar::ui::win32 {
namespace {

class Win32TextBox final : public ChildPeer<TextBoxPeer> {
 public:
  Win32TextBox(Win32Form& form, const ControlDesign& design) : ChildPeer(form, design) {
    // The sunken edge is the control's default look; the main window's
    // start-up exchanges it for a flat one through the extended style.
    Attach(Create(L"EDIT", VisibleStyle() | (design.tabStop ? WS_TABSTOP : 0u) | ES_AUTOHSCROLL,
                  WS_EX_CLIENTEDGE, Wide(design.caption)));
  }
  ~Win32TextBox() override {
    if (brush_ != nullptr) DeleteObject(brush_);
  }

  std::string Text() const override { return WindowText(window_); }
  void SetText(const std::string& text) override {
    SetWindowTextUtf8(window_, text);
    SendMessageW(window_, EM_SETSEL, 0, 0);
  }
  Color BackColor() const override { return back_; }
  void SetBackColor(Color colour) override {
    if (colour == back_) return;
    back_ = colour;
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = nullptr;
    InvalidateRect(window_, nullptr, TRUE);
  }
  int SelStart() const override {
    DWORD start = 0;
    SendMessageW(window_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
  }
  int SelLength() const override {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(window_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
  }
  void Select(int start, int length) override {
    const int size = GetWindowTextLengthW(window_);
    const int from = start < 0 ? 0 : (start > size ? size : start);
    const int count = length < 0 ? 0 : (length > size - from ? size - from : length);
    SendMessageW(window_, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(from + count));
  }

  HBRUSH OnColor(HDC dc) override {
    const COLORREF colour = RGB(back_.red, back_.green, back_.blue);
    if (brush_ == nullptr) brush_ = CreateSolidBrush(colour);
    SetBkColor(dc, colour);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return brush_;
  }

 private:
  Color back_ = kWindowWhite;
  HBRUSH brush_ = nullptr;
};

}  // namespace

std::unique_ptr<TextBoxPeer> MakeTextBox(Win32Form& form, const ControlDesign& design) {
  return std::make_unique<Win32TextBox>(form, design);
}

}  // namespace vexmar::ui::win32
