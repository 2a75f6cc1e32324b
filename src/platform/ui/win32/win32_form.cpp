#include "platform/ui/win32/win32_form.h"

#include <commctrl.h>

#include <cmath>

#include "platform/failed_call_win32.h"
#include "platform/ui/win32/win32_controls.h"
#include "platform/ui/win32/win32_picture.h"

namespace vexmar::ui::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"VexmarForm";

void FrameStyles(const FormDesign& design, DWORD& style, DWORD& exStyle) {
  exStyle = WS_EX_CONTROLPARENT;
  switch (design.border) {
    case FormBorder::FixedDialog:
      style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
      break;
    case FormBorder::FixedToolWindow:
      style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
      exStyle |= WS_EX_TOOLWINDOW;
      break;
    case FormBorder::None:
      style = WS_POPUP;
      break;
  }
  // A window without a frame stays out of the task bar by being a tool window.
  if (!design.showInTaskbar && design.border == FormBorder::None) exStyle |= WS_EX_TOOLWINDOW;
}

COLORREF ToColorRef(Color colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

// The window-menu commands of the program's own items. Windows keeps the
// low four bits of a WM_SYSCOMMAND for itself, so the ids step by 16, and
// they stay below the system's own commands (SC_SIZE = 0xF000 and up).
constexpr UINT kFirstWindowMenuCommand = 0x0100;
constexpr UINT kLastWindowMenuCommand = 0x0FF0;

UINT WindowMenuCommand(int id) {
  return kFirstWindowMenuCommand + static_cast<UINT>(id) * 16;
}

}  // namespace

// --- ChildWindow ---------------------------------------------------------------

ChildWindow::~ChildWindow() {
  if (window_ == nullptr) return;
  form_.Unregister(window_);
  DetachHandler(window_);
  DestroyWindow(window_);
}

void ChildWindow::Attach(HWND window) {
  window_ = window;
  if (window_ == nullptr) return;
  // A control added later lies above the ones before it, so a control that
  // fills a window's background (an opaque label) never covers the controls
  // placed on it; overlapping siblings clip each other.
  SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  form_.Register(*this);
  if (!design_.toolTip.empty()) form_.AddToolTip(window_, design_.toolTip);
  Layout(form_.Dpi());
}

HWND ChildWindow::Create(const wchar_t* className, DWORD style, DWORD exStyle,
                         const std::wstring& text) {
  const RECT place = PixelRect(design_.place, form_.Dpi());
  const HWND window = CreateWindowExW(
      exStyle, className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, place.left, place.top,
      place.right - place.left, place.bottom - place.top, form_.Window(),
      reinterpret_cast<HMENU>(form_.NextControlId()), ProgramInstance(), nullptr);
  if (window == nullptr) ReportFailedWin32Call(L"CreateWindowExW", className);
  return window;
}

HFONT ChildWindow::Font(UINT dpi) const {
  return form_.FontFor(design_, dpi);
}

void ChildWindow::MoveTo(const TwipsRect& place) {
  design_.place = place;
  Layout(form_.Dpi());
}

TwipsRect ChildWindow::CurrentPlace() const {
  if (window_ == nullptr) return design_.place;
  RECT rect{};
  GetWindowRect(window_, &rect);
  MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
  const UINT dpi = form_.Dpi();
  return {PixelsToTwips(rect.left, dpi), PixelsToTwips(rect.top, dpi),
          PixelsToTwips(rect.right - rect.left, dpi), PixelsToTwips(rect.bottom - rect.top, dpi)};
}

HBRUSH ChildWindow::ParentBackground(HDC dc) const {
  POINT corner{0, 0};
  MapWindowPoints(window_, form_.Window(), &corner, 1);
  SetBrushOrgEx(dc, -corner.x, -corner.y, nullptr);
  return form_.BackgroundBrush();
}

void ChildWindow::Layout(UINT dpi) {
  const RECT place = PixelRect(design_.place, dpi);
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(dpi)), FALSE);
  SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left,
               place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Win32Form ---------------------------------------------------------------------

Win32Form::Win32Form(Form& owner, const FormDesign& design) : owner_(owner), design_(design) {
  static const wchar_t* const formClass = RegisterOwnClass(kFormClass, 0, nullptr);
  FrameStyles(design_, style_, exStyle_);
  backgroundColour_ = design_.infoBackground ? GetSysColor(COLOR_INFOBK)
                      : design_.backColor    ? ToColorRef(*design_.backColor)
                                             : GetSysColor(COLOR_BTNFACE);
  background_ = CreateSolidBrush(backgroundColour_);
  window_ = CreateHandledWindow(exStyle_, formClass, Wide(design_.caption).c_str(), style_,
                                RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT},
                                nullptr, 0, *this);
  if (window_ == nullptr) return;
  SetClientSize(design_.clientWidth, design_.clientHeight);
  if (design_.icon) {
    // The window gets copies of the icon in both sizes, destroyed with it.
    const Picture big = LoadProgramPicture(*design_.icon);
    if (const Win32Picture* icon = win32::AsWin32(big); icon != nullptr && icon->Icon()) {
      const auto small =
          static_cast<HICON>(CopyImage(icon->Icon(), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                       GetSystemMetrics(SM_CYSMICON), 0));
      SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(CopyIcon(icon->Icon())));
      SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }
  }
}

Win32Form::~Win32Form() {
  destroying_ = true;
  EndModal();
  if (window_ != nullptr) {
    for (const WPARAM icon : {WPARAM{ICON_BIG}, WPARAM{ICON_SMALL}}) {
      const auto handle = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, icon, 0));
      if (handle != nullptr) DestroyIcon(handle);
    }
    DetachHandler(window_);
    if (toolTip_ != nullptr) DestroyWindow(toolTip_);
    DestroyWindow(window_);
  }
  DeleteObject(background_);
  if (skinBrush_ != nullptr) DeleteObject(skinBrush_);
}

Win32Form* AsWin32(Form& form) {
  return dynamic_cast<Win32Form*>(&form.Peer());
}

void Win32Form::Show() {
  if (!shown_) {
    shown_ = true;
    if (!placed_) PlaceAtFirstShowing();
    for (const auto& timer : timers_) TimerLoaded(*timer.second);
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void Win32Form::Hide() {
  ShowWindow(window_, SW_HIDE);
}

void Win32Form::Close() {
  SendMessageW(window_, WM_CLOSE, 0, 0);
}

void Win32Form::NotifyClosed() {
  EndModal();
  ShowWindow(window_, SW_HIDE);
  owner_.NotifyClosed();
}

void Win32Form::SetMousePointer(MousePointer pointer) {
  pointer_ = pointer;
  // A long command runs without reading messages, so the pointer is set now
  // rather than at the next WM_SETCURSOR.
  POINT at{};
  GetCursorPos(&at);
  const HWND under = WindowFromPoint(at);
  if (under != nullptr && GetAncestor(under, GA_ROOT) == window_) {
    SetCursor(LoadCursorW(nullptr, pointer == MousePointer::Hourglass ? IDC_WAIT : IDC_ARROW));
  }
}

TwipsRect Win32Form::ClientPlace() const {
  const UINT dpi = Dpi();
  RECT outer{};
  RECT client{};
  GetWindowRect(window_, &outer);
  GetClientRect(window_, &client);
  return {PixelsToTwips(outer.left, dpi), PixelsToTwips(outer.top, dpi),
          PixelsToTwips(client.right, dpi), PixelsToTwips(client.bottom, dpi)};
}

void Win32Form::SetClientSize(int widthTwips, int heightTwips) {
  design_.clientWidth = widthTwips;
  design_.clientHeight = heightTwips;
  ResizeClient(Dpi());
}

void Win32Form::ResizeClient(UINT dpi) {
  const RECT client = PixelRect({0, 0, design_.clientWidth, design_.clientHeight}, dpi);
  const SIZE outer = OuterSize(SIZE{client.right, client.bottom}, style_, exStyle_, dpi);
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::MoveTo(double leftTwips, double topTwips) {
  placed_ = true;
  // Fractions of a twip are kept up to here and rounded once, to pixels.
  const double pixelsPerTwip = Dpi() / 1440.0;
  SetWindowPos(window_, nullptr, static_cast<int>(std::lround(leftTwips * pixelsPerTwip)),
               static_cast<int>(std::lround(topTwips * pixelsPerTwip)), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::SetSkin(const Picture& picture) {
  const Win32Picture* bitmap = win32::AsWin32(picture);
  const HBRUSH brush = bitmap != nullptr && bitmap->Bitmap() != nullptr
                           ? CreatePatternBrush(bitmap->Bitmap())
                           : nullptr;
  if (skinBrush_ != nullptr) DeleteObject(skinBrush_);
  skinBrush_ = brush;
  skin_ = brush != nullptr ? picture : nullptr;
  // Every control that shows the window's background repaints with it.
  RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Win32Form::SetWindowMenu(const std::vector<WindowMenuItem>& items) {
  const HMENU menu = GetSystemMenu(window_, FALSE);
  if (menu == nullptr) return;
  for (const WindowMenuItem& item : windowMenu_) {
    DeleteMenu(menu, WindowMenuCommand(item.id), MF_BYCOMMAND);
  }
  // One separator between the system's items and ours, added with the first.
  if (windowMenu_.empty() && !items.empty()) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  windowMenu_.clear();
  for (const WindowMenuItem& item : items) {
    const UINT command = WindowMenuCommand(item.id);
    if (item.id <= 0 || command > kLastWindowMenuCommand) continue;
    AppendMenuW(menu, static_cast<UINT>(MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED)),
                command, Wide(item.caption).c_str());
    windowMenu_.push_back(item);
  }
}

void Win32Form::SetTopMost(bool topMost) {
  SetWindowPos(window_, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TwipsRect Win32Form::ScreenSize() const {
  const UINT dpi = Dpi();
  return {0, 0, PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi),
          PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi)};
}

void Win32Form::PlaceAtFirstShowing() {
  if (design_.startPosition == StartPosition::Manual) return;
  const HWND owner = GetWindow(window_, GW_OWNER);
  const bool overOwner = design_.startPosition == StartPosition::CenterOwner && owner != nullptr &&
                         IsWindowVisible(owner);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const HMONITOR screen = MonitorFromWindow(overOwner ? owner : window_, MONITOR_DEFAULTTOPRIMARY);
  if (!GetMonitorInfoW(screen, &monitor)) return;
  const RECT& work = monitor.rcWork;
  RECT around = work;
  if (overOwner) GetWindowRect(owner, &around);
  RECT outer{};
  GetWindowRect(window_, &outer);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  int left = around.left + ((around.right - around.left) - width) / 2;
  int top = around.top + ((around.bottom - around.top) - height) / 2;
  // Never with the caption bar off the screen, where the window could not
  // be moved back.
  if (left + width > work.right) left = work.right - width;
  if (top + height > work.bottom) top = work.bottom - height;
  if (left < work.left) left = work.left;
  if (top < work.top) top = work.top;
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::unique_ptr<TextBoxPeer> Win32Form::CreateTextBox(TextBox&, const ControlDesign& design) {
  return MakeTextBox(*this, design);
}
std::unique_ptr<CheckListPeer> Win32Form::CreateCheckList(CheckList& owner,
                                                          const ControlDesign& design) {
  return MakeCheckList(*this, owner, design);
}
std::unique_ptr<CheckBoxPeer> Win32Form::CreateCheckBox(CheckBox& owner,
                                                        const ControlDesign& design) {
  return MakeCheckBox(*this, owner, design);
}
std::unique_ptr<CaptionPeer> Win32Form::CreateButton(Button& owner, const ControlDesign& design) {
  return MakeButton(*this, owner, design);
}
std::unique_ptr<CaptionPeer> Win32Form::CreateLabel(Label&, const ControlDesign& design) {
  return MakeLabel(*this, design);
}
std::unique_ptr<ImagePeer> Win32Form::CreateImage(Image& owner, const ControlDesign& design) {
  return MakeImage(*this, owner, design);
}
std::unique_ptr<ControlPeer> Win32Form::CreateLine(Line&, const ControlDesign& design) {
  return MakeLine(*this, design);
}
std::unique_ptr<TimerPeer> Win32Form::CreateTimer(Timer& owner, const ControlDesign& design) {
  return MakeTimer(*this, owner, design);
}

void Win32Form::SetTabOrder(const std::vector<Control*>& order) {
  // Tab and Shift+Tab follow the z-order of the tab stops, so the controls
  // are chained in the keyboard order at the top of the z-order.
  HWND previous = HWND_TOP;
  for (Control* control : order) {
    const auto child = reinterpret_cast<HWND>(control->Handle());
    if (child == nullptr) continue;
    SetWindowLongW(child, GWL_STYLE, GetWindowLongW(child, GWL_STYLE) | WS_TABSTOP);
    SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = child;
  }
}

HFONT Win32Form::FontFor(const ControlDesign& design, UINT dpi) {
  return fonts_.Get(design.font ? *design.font : design_.font, dpi);
}

void Win32Form::Register(ChildWindow& child) {
  children_[child.Window()] = &child;
  childOrder_.push_back(child.Window());
}

void Win32Form::Unregister(HWND child) {
  children_.erase(child);
  for (auto it = childOrder_.begin(); it != childOrder_.end(); ++it) {
    if (*it == child) {
      childOrder_.erase(it);
      break;
    }
  }
  if (toolTip_ != nullptr) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    SendMessageW(toolTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

ChildWindow* Win32Form::ChildOf(HWND window) const {
  const auto found = children_.find(window);
  return found == children_.end() ? nullptr : found->second;
}

void Win32Form::AddToolTip(HWND control, const std::string& text) {
  if (toolTip_ == nullptr) {
    toolTip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, ProgramInstance(), nullptr);
    if (toolTip_ == nullptr) {
      ReportFailedWin32Call(L"CreateWindowExW", TOOLTIPS_CLASSW);
      return;
    }
  }
  std::wstring wide = Wide(text);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = wide.data();  // the tool tip keeps its own copy
  SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

UINT_PTR Win32Form::RegisterTimer(Win32Timer& timer) {
  const UINT_PTR id = nextTimerId_++;
  timers_[id] = &timer;
  return id;
}

void Win32Form::UnregisterTimer(UINT_PTR id) {
  KillTimer(window_, id);
  timers_.erase(id);
}

void Win32Form::BeginModal(HWND owner) {
  if (owner == nullptr || owner == window_) return;
  SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  EnableWindow(owner, FALSE);
  modalOwner_ = owner;
}

void Win32Form::EndModal() {
  if (modalOwner_ == nullptr) return;
  EnableWindow(modalOwner_, TRUE);
  if (!destroying_ && GetActiveWindow() == window_) SetActiveWindow(modalOwner_);
  modalOwner_ = nullptr;
}

void Win32Form::ApplyDpi(UINT dpi, const RECT* suggested) {
  if (suggested != nullptr) {
    SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ResizeClient(dpi);
  for (HWND child : childOrder_) {
    if (ChildWindow* peer = ChildOf(child)) peer->Layout(dpi);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

LRESULT Win32Form::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (ChildWindow* child = ChildOf(reinterpret_cast<HWND>(lParam))) {
        child->OnCommand(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (ChildWindow* child = ChildOf(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = child->OnColor(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (ChildWindow* child = ChildOf(item->hwndItem)) {
        child->OnDrawItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_TIMER: {
      const auto found = timers_.find(static_cast<UINT_PTR>(wParam));
      if (found != timers_.end()) {
        TimerFired(*found->second);
        return 0;
      }
      break;
    }
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window, &client);
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      FillRect(dc, &client, BackgroundBrush());
      return TRUE;
    }
    case WM_SYSCOMMAND: {
      const UINT command = static_cast<UINT>(wParam) & 0xFFF0;
      for (const WindowMenuItem& item : windowMenu_) {
        if (WindowMenuCommand(item.id) == command) {
          owner_.WindowMenuChosen(item.id);
          return 0;
        }
      }
      break;
    }
    case WM_SETCURSOR:
      if (pointer_ == MousePointer::Hourglass) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DPICHANGED:
      ApplyDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      // As a dialog does: the focus leaves with the window and comes back to
      // the same control, or to the first field when none had it yet.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) lastFocus_ = focus;
      } else if (HIWORD(wParam) == 0) {
        HWND focus = lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_)
                         ? lastFocus_
                         : GetNextDlgTabItem(window, nullptr, FALSE);
        ::SetFocus(focus != nullptr ? focus : window);
      }
      return 0;
    case WM_CLOSE:
      // The window is hidden, not destroyed: its controls live as long as the
      // Form that owns them, and commands may still read them afterwards.
      NotifyClosed();
      return 0;
    case WM_DESTROY:
      if (!destroying_) owner_.NotifyClosed();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vexmar::ui::win32
