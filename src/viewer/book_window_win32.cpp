#include "viewer/book_window_win32.h"

#include "platform/failed_call_win32.h"
#include "vexmar_version.h"
#include "viewer/command_line.h"
#include "viewer/desktop_win32.h"
#include "viewer/text_direction.h"
#include "viewer/url_mapping.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

const wchar_t kWindowClass[] = L"VexmarEbookViewer";
constexpr int kToolBarHeight = 34;
constexpr int kButtonGap = 4;
constexpr UINT_PTR kFirstPageTimer = 1;
// How long the control may take to show the first page before the viewer
// decides it cannot and opens the default browser instead.
constexpr UINT kFirstPageTimeoutMs = 15000;

enum ButtonId : int {
  kHome = 101,
  kBack,
  kForward,
  kPrint,
  kWebLink,
  kAbout,
};

const wchar_t kBrowserNotice[] =
    L"This book is open in your web browser.\r\n\r\n"
    L"Its pages were put in a temporary folder, which is removed when you close this window. "
    L"Home opens the book again.";

}  // namespace

BookWindow::~BookWindow() {
  browser_.Destroy();
  extracted_.Remove();
  if (font_ != nullptr) {
    DeleteObject(font_);
  }
}

bool BookWindow::Create(HINSTANCE instance, int show, bool use_browser, std::string& problem) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  window_class.hIconSm = window_class.hIcon;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  // Registered once in the viewer's one process: any failure is a real one.
  if (RegisterClassExW(&window_class) == 0)
    ReportFailedWin32Call(L"RegisterClassExW", kWindowClass);

  // Most of the work area, centred, but not sprawling on a large screen.
  RECT work{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int work_width = work.right - work.left;
  const int work_height = work.bottom - work.top;
  const int width = work_width * 9 / 10 < 1100 ? work_width * 9 / 10 : 1100;
  const int height = work_height * 9 / 10 < 850 ? work_height * 9 / 10 : 850;
  // A title in Arabic or Hebrew reads right to left in the title bar.
  const std::string title = book::DisplayTitle(check_.record);
  window_ = CreateWindowExW(
      ReadsRightToLeft(title) ? WS_EX_RTLREADING : 0, kWindowClass, Widen(title).c_str(),
      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, work.left + (work_width - width) / 2,
      work.top + (work_height - height) / 2, width, height, nullptr, nullptr, instance, this);
  if (window_ == nullptr) {
    ReportFailedWin32Call(L"CreateWindowExW", kWindowClass);
    problem = "The viewer window cannot be created.";
    return false;
  }
  CreateToolBar();
  ShowWindow(window_, show);
  UpdateWindow(window_);

  if (!use_browser) {
    const HRESULT created =
        browser_.Create(window_, PageArea(), Widen(BookUrlFor(check_.record.index_page())), *this);
    if (SUCCEEDED(created)) {
      SetTimer(window_, kFirstPageTimer, kFirstPageTimeoutMs, nullptr);
      return true;
    }
  }
  if (!UseDefaultBrowser()) {
    problem =
        "The book cannot be shown: the web page control is not available and its "
        "pages cannot be put in a temporary folder.";
    return false;
  }
  return true;
}

void BookWindow::CreateToolBar() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  }
  // The web link's button carries the author's text and is left out
  // without one. A button reads "&" as the mark of its access key; the
  // author meant the character.
  std::wstring link;
  for (const wchar_t c : Widen(check_.record.link_text())) {
    link += c;
    if (c == L'&') link += L'&';
  }
  // Fixed texts in a plain table: the stub every book carries stays small.
  const struct {
    int id;
    const wchar_t* text;
  } buttons[] = {{kHome, L"&Home"},   {kBack, L"&Back"},        {kForward, L"&Forward"},
                 {kPrint, L"&Print"}, {kWebLink, link.c_str()}, {kAbout, L"&About"}};
  const HDC dc = GetDC(window_);
  const HGDIOBJ old_font =
      SelectObject(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  int x = kButtonGap;
  for (const auto& button : buttons) {
    if (button.id == kWebLink && link.empty()) continue;
    SIZE extent{};
    GetTextExtentPoint32W(dc, button.text, lstrlenW(button.text), &extent);
    int width = extent.cx + 28;
    width = width < 72 ? 72 : (width > 260 ? 260 : width);
    const HWND control = CreateWindowExW(
        0, L"BUTTON", button.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x,
        kButtonGap, width, kToolBarHeight - 2 * kButtonGap, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), nullptr, nullptr);
    if (control == nullptr) ReportFailedWin32Call(L"CreateWindowExW", button.text);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    x += width + kButtonGap;
  }
  SelectObject(dc, old_font);
  ReleaseDC(window_, dc);
  EnableWindow(GetDlgItem(window_, kBack), FALSE);
  EnableWindow(GetDlgItem(window_, kForward), FALSE);
}

RECT BookWindow::PageArea() const {
  RECT area{};
  GetClientRect(window_, &area);
  area.top = kToolBarHeight;
  if (area.bottom < area.top) {
    area.bottom = area.top;
  }
  return area;
}

void BookWindow::Layout() {
  const RECT area = PageArea();
  browser_.Resize(area);
  if (notice_ != nullptr) {
    MoveWindow(notice_, area.left + 24, area.top + 24, area.right - area.left - 48,
               area.bottom - area.top - 48, TRUE);
  }
}

bool BookWindow::UseDefaultBrowser() {
  KillTimer(window_, kFirstPageTimer);
  browser_.Destroy();
  if (!extracted_.extracted()) {
    std::string problem;
    if (!extracted_.Extract(book_.entries, *check_.indexPage, problem)) {
      return false;
    }
  }
  inDefaultBrowser_ = true;
  EnableWindow(GetDlgItem(window_, kBack), FALSE);
  EnableWindow(GetDlgItem(window_, kForward), FALSE);
  EnableWindow(GetDlgItem(window_, kPrint), FALSE);
  if (notice_ == nullptr) {
    notice_ = CreateWindowExW(0, L"STATIC", kBrowserNotice, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0,
                              0, 0, window_, nullptr, nullptr, nullptr);
    if (notice_ == nullptr) ReportFailedWin32Call(L"CreateWindowExW", L"STATIC");
    SendMessageW(notice_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Layout();
  }
  extracted_.OpenIndex(window_);
  return true;
}

void BookWindow::OnCommand(int id) {
  switch (id) {
    case kHome:
      if (inDefaultBrowser_) {
        extracted_.OpenIndex(window_);
      } else {
        browser_.Navigate(Widen(BookUrlFor(check_.record.index_page())));
      }
      break;
    case kBack:
      browser_.GoBack();
      break;
    case kForward:
      browser_.GoForward();
      break;
    case kPrint:
      browser_.Print();
      break;
    case kWebLink:
      OpenWebLink();
      break;
    case kAbout:
      ShowAbout();
      break;
    default:
      break;
  }
}

void BookWindow::ShowAbout() {
  const book::BookRecord& record = check_.record;
  std::string text = book::DisplayTitle(record) + "\n\n";
  if (!record.author().empty()) {
    text += "Author: " + record.author() + "\n";
  }
  if (!record.build_date().empty()) {
    // As the compiler wrote it, in the author's date format.
    text += "Built: " + record.build_date() + "\n";
  }
  // The viewer's own version is compiled in: the book's version resource
  // describes the book (its title, author and day), not the viewer.
  text += "\nMade with the Vexmar E-book Compiler " VEXMAR_VERSION_TEXT ".";
  ShowMessageBox(window_, text, "About " + book::DisplayTitle(record), MB_ICONINFORMATION);
}

void BookWindow::OpenWebLink() {
  const std::string target = WebLinkTarget(check_.record.link_address());
  if (target.empty()) {
    ShowMessageBox(window_, "This book's web link has no address.",
                   book::DisplayTitle(check_.record), MB_ICONINFORMATION);
    return;
  }
  OpenWithShell(window_, Widen(target));
}

void BookWindow::OnBackForwardChanged(bool back_enabled, bool forward_enabled) {
  EnableWindow(GetDlgItem(window_, kBack), back_enabled);
  EnableWindow(GetDlgItem(window_, kForward), forward_enabled);
}

void BookWindow::OnFirstPageComplete() {
  KillTimer(window_, kFirstPageTimer);
}

void BookWindow::OnFirstPageFailed() {
  // The same way as the timer, once the control's event has returned.
  KillTimer(window_, kFirstPageTimer);
  PostMessageW(window_, WM_TIMER, kFirstPageTimer, 0);
}

void BookWindow::OnExternalLink(const std::wstring& url) {
  OpenWithShell(window_, url);
}

LRESULT CALLBACK BookWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<BookWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<BookWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self != nullptr ? self->Handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT BookWindow::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(w));
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_TIMER:
      if (w == kFirstPageTimer && !inDefaultBrowser_ && !UseDefaultBrowser()) {
        fatal_ = true;
        ShowMessageBox(window_,
                       "The book cannot be shown: its pages cannot be put in a temporary folder.",
                       book::DisplayTitle(check_.record), MB_ICONERROR);
        DestroyWindow(window_);
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
      KillTimer(window_, kFirstPageTimer);
      browser_.Destroy();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

int BookWindow::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (browser_.TranslateKey(message)) {
      continue;
    }
    // Tab and the access keys between the tool bar's buttons only: the
    // control's own windows must get their keys untouched.
    const bool for_tool_bar = message.hwnd == window_ || (GetParent(message.hwnd) == window_ &&
                                                          GetDlgCtrlID(message.hwnd) >= kHome &&
                                                          GetDlgCtrlID(message.hwnd) <= kAbout);
    if (for_tool_bar && IsDialogMessageW(window_, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return fatal_ ? kExitFailed : kExitOk;
}

}  // namespace vexmar::viewer
