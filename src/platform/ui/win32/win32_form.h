#pragma once
// A window of the program on Win32, and the base of its child controls. The
// window routes the notifications Windows sends to a parent (commands,
// colours, owner drawing) to the child that caused them.
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/win32/win32_metrics.h"
#include "platform/ui/win32/win32_window.h"

namespace vexmar::ui::win32 {

class Win32Form;

// What every child control of a window shares: its HWND, its place from the
// window's table, and the parent notifications it may react to.
class ChildWindow {
 public:
  ChildWindow(Win32Form& form, const ControlDesign& design) : form_(form), design_(design) {}
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;
  virtual ~ChildWindow();

  HWND Window() const { return window_; }
  const ControlDesign& Design() const { return design_; }

  virtual void OnCommand(WORD /*code*/) {}
  // The brush to paint the control's background with, null for the default.
  virtual HBRUSH OnColor(HDC /*dc*/) { return nullptr; }
  virtual void OnDrawItem(const DRAWITEMSTRUCT& /*item*/) {}
  // Puts the control in its place and gives it its font at the DPI.
  virtual void Layout(UINT dpi);
  // A new place from a command; kept for later DPI changes.
  void MoveTo(const TwipsRect& place);
  TwipsRect CurrentPlace() const;

 protected:
  // Registers the created window with its form (null when creation failed).
  void Attach(HWND window);
  HWND Create(const wchar_t* className, DWORD style, DWORD exStyle, const std::wstring& text);
  HFONT Font(UINT dpi) const;
  DWORD VisibleStyle() const { return design_.visible ? WS_VISIBLE : 0u; }
  // The window's background brush, aligned for painting in this control's
  // DC, so a skin's pattern runs on under the control without a seam.
  HBRUSH ParentBackground(HDC dc) const;

  Win32Form& form_;
  ControlDesign design_;
  HWND window_ = nullptr;
};

// The ControlPeer calls every child answers the same way.
template <typename Interface>
class ChildPeer : public Interface, public ChildWindow {
 public:
  ChildPeer(Win32Form& form, const ControlDesign& design) : ChildWindow(form, design) {}
  NativeHandle Handle() const override { return reinterpret_cast<NativeHandle>(window_); }
  bool Visible() const override {
    return window_ != nullptr && (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void SetVisible(bool visible) override {
    if (window_ != nullptr) ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
  }
  void SetFocus() override {
    if (window_ != nullptr) ::SetFocus(window_);
  }
  bool HasFocus() const override { return window_ != nullptr && GetFocus() == window_; }
  TwipsRect Place() const override { return CurrentPlace(); }
  void SetPlace(const TwipsRect& place) override { MoveTo(place); }
};

class Win32Timer;

class Win32Form final : public FormPeer, private MessageHandler {
 public:
  Win32Form(Form& owner, const FormDesign& design);
  Win32Form(const Win32Form&) = delete;
  Win32Form& operator=(const Win32Form&) = delete;
  ~Win32Form() override;

  // FormPeer
  NativeHandle Handle() const override { return reinterpret_cast<NativeHandle>(window_); }
  std::string Caption() const override { return WindowText(window_); }
  void SetCaption(const std::string& caption) override { SetWindowTextUtf8(window_, caption); }
  bool Visible() const override { return IsWindowVisible(window_) != FALSE; }
  void Show() override;
  void Hide() override;
  void Close() override;
  void SetMousePointer(MousePointer pointer) override;
  MousePointer GetMousePointer() const override { return pointer_; }
  TwipsRect ClientPlace() const override;
  void SetClientSize(int widthTwips, int heightTwips) override;
  void MoveTo(double leftTwips, double topTwips) override;
  TwipsRect ScreenSize() const override;
  void SetSkin(const Picture& picture) override;
  void SetWindowMenu(const std::vector<WindowMenuItem>& items) override;
  void SetTopMost(bool topMost) override;
  std::unique_ptr<TextBoxPeer> CreateTextBox(TextBox& owner, const ControlDesign& design) override;
  std::unique_ptr<CheckListPeer> CreateCheckList(CheckList& owner,
                                                 const ControlDesign& design) override;
  std::unique_ptr<CheckBoxPeer> CreateCheckBox(CheckBox& owner,
                                               const ControlDesign& design) override;
  std::unique_ptr<CaptionPeer> CreateButton(Button& owner, const ControlDesign& design) override;
  std::unique_ptr<CaptionPeer> CreateLabel(Label& owner, const ControlDesign& design) override;
  std::unique_ptr<ImagePeer> CreateImage(Image& owner, const ControlDesign& design) override;
  std::unique_ptr<ControlPeer> CreateLine(Line& owner, const ControlDesign& design) override;
  std::unique_ptr<TimerPeer> CreateTimer(Timer& owner, const ControlDesign& design) override;
  void SetTabOrder(const std::vector<Control*>& order) override;

  // For the children and timers of this window.
  HWND Window() const { return window_; }
  UINT Dpi() const { return DpiOf(window_); }
  HFONT FontFor(const ControlDesign& design, UINT dpi);
  // The skin's pattern while the window is skinned, else its plain colour.
  HBRUSH BackgroundBrush() const { return skinBrush_ != nullptr ? skinBrush_ : background_; }
  COLORREF BackgroundColour() const { return backgroundColour_; }
  bool Skinned() const { return skinBrush_ != nullptr; }
  bool Loaded() const { return owner_.Loaded(); }
  UINT_PTR NextControlId() { return nextControlId_++; }
  void Register(ChildWindow& child);
  void Unregister(HWND child);
  void AddToolTip(HWND control, const std::string& text);
  UINT_PTR RegisterTimer(Win32Timer& timer);
  void UnregisterTimer(UINT_PTR id);

  // Modal showing: the owner takes no input while this window is open, and
  // gets it back as this window closes, before another program's window
  // could be activated in its place.
  void BeginModal(HWND owner);
  void EndModal();

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  ChildWindow* ChildOf(HWND window) const;
  void ApplyDpi(UINT dpi, const RECT* suggested);
  void ResizeClient(UINT dpi);
  void PlaceAtFirstShowing();
  void NotifyClosed();

  Form& owner_;
  FormDesign design_;
  HWND window_ = nullptr;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  FontCache fonts_;
  HBRUSH background_ = nullptr;
  COLORREF backgroundColour_ = 0;
  Picture skin_;  // the pattern brush is made from this bitmap
  HBRUSH skinBrush_ = nullptr;
  std::vector<WindowMenuItem> windowMenu_;
  HWND toolTip_ = nullptr;
  std::map<HWND, ChildWindow*> children_;
  std::vector<HWND> childOrder_;
  std::map<UINT_PTR, Win32Timer*> timers_;
  UINT_PTR nextControlId_ = 100;
  UINT_PTR nextTimerId_ = 1;
  MousePointer pointer_ = MousePointer::Default;
  bool shown_ = false;
  bool placed_ = false;  // moved by a command before the first showing
  HWND modalOwner_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool destroying_ = false;
};

// The Win32 form behind a Form, or null when the form lives on another backend.
Win32Form* AsWin32(Form& form);

}  // namespace vexmar::ui::win32
