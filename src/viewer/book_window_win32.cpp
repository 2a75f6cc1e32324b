#include "viewer/book_window_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "book/book_format.h"
#include "platform/failed_call_win32.h"
#include "vexmar_version.h"
#include "viewer/book_loader_win32.h"
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
// A query runs once the reader stops typing for this long.
constexpr UINT_PTR kQueryTimer = 2;
constexpr UINT kQueryDelayMs = 250;
constexpr UINT kIndexReady = WM_APP + 1;
// The pane's width at 96 DPI: by default, and the least and most it may be
// dragged to, the page keeping room of its own.
constexpr int kDefaultPaneWidth = 260;
constexpr int kMinPaneWidth = 120;
constexpr int kMinPageWidth = 200;
constexpr int kSplitterWidth = 6;
constexpr size_t kResultLimit = 200;
// WM_DPICHANGED, which headers for Windows 7 lack.
constexpr UINT kDpiChanged = 0x02E0;

enum ButtonId : int {
  kHome = 101,
  kPrevious,
  kNext,
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

// The window's DPI: GetDpiForWindow where Windows has it (10 and later),
// else the screen's, which is the only one Windows 7 knows.
int DpiOf(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  const auto get_dpi = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi != nullptr) {
    const UINT dpi = get_dpi(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

BOOL CALLBACK FindPageWindow(HWND child, LPARAM found) {
  wchar_t name[32];
  if (GetClassNameW(child, name, 32) && lstrcmpW(name, L"Internet Explorer_Server") == 0) {
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

// What the page should show marked: the words the snippet found, and the
// query's own words for hits beyond the snippet.
std::vector<std::wstring> MarksFor(const FoundPage& found, const std::string& query) {
  std::vector<std::wstring> marks;
  const auto add = [&marks](std::string_view word) {
    const std::wstring wide = Widen(word);
    if (!wide.empty() && std::find(marks.begin(), marks.end(), wide) == marks.end()) {
      marks.push_back(wide);
    }
  };
  for (const auto& [offset, length] : found.snippet.hits) {
    if (offset + length <= found.snippet.text.size()) {
      add(std::string_view(found.snippet.text).substr(offset, length));
    }
  }
  std::string word;
  for (const char c : query + " ") {
    if (c == ' ' || c == '\t' || c == '"' || c == '*') {
      add(word);
      word.clear();
    } else {
      word += c;
    }
  }
  return marks;
}

}  // namespace

BookWindow::~BookWindow() {
  browser_.Destroy();
  extracted_.Remove();
  for (const HFONT font : {font_, bold_}) {
    if (font != nullptr) DeleteObject(font);
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
  // Or where the reader left it, when that is still on a screen. The
  // placement's coordinates are the ones GetWindowPlacement gave.
  const RECT left{state_.left, state_.top, state_.right, state_.bottom};
  if (state_.hasPlace && MonitorFromRect(&left, MONITOR_DEFAULTTONULL) != nullptr) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window_, &placement);
    placement.rcNormalPosition = left;
    placement.showCmd = SW_HIDE;
    SetWindowPlacement(window_, &placement);
  }
  dpi_ = DpiOf(window_);
  if (state_.paneWidth <= 0) state_.paneWidth = kDefaultPaneWidth;
  CreateControls();
  Layout();
  pane_.ShowContents(current_);
  ShowWindow(window_, state_.hasPlace && state_.maximized ? SW_SHOWMAXIMIZED : show);
  UpdateWindow(window_);

  if (!use_browser) {
    std::string url = BookUrlFor(current_->name);
    if (!start_.anchor.empty()) url += "#" + start_.anchor;
    const HRESULT created = browser_.Create(window_, PageArea(), Widen(url), *this);
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

void BookWindow::MakeFonts() {
  for (HFONT* font : {&font_, &bold_}) {
    if (*font != nullptr) DeleteObject(*font);
    *font = nullptr;
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
  // The system's metrics are for the primary screen's DPI.
  const HDC screen = GetDC(nullptr);
  const int system_dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  LOGFONTW face = metrics.lfMessageFont;
  face.lfHeight = MulDiv(face.lfHeight, dpi_, system_dpi > 0 ? system_dpi : 96);
  font_ = CreateFontIndirectW(&face);
  face.lfWeight = FW_BOLD;
  bold_ = CreateFontIndirectW(&face);
}

void BookWindow::CreateControls() {
  MakeFonts();
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
  } buttons[] = {{kHome, L"&Home"},        {kPrevious, L"Pre&vious"}, {kNext, L"&Next"},
                 {kBack, L"&Back"},        {kForward, L"&Forward"},   {kPrint, L"&Print"},
                 {kWebLink, link.c_str()}, {kAbout, L"&About"}};
  for (const auto& button : buttons) {
    if (button.id == kWebLink && link.empty()) continue;
    const HWND control = CreateWindowExW(
        0, L"BUTTON", button.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), nullptr, nullptr);
    if (control == nullptr) ReportFailedWin32Call(L"CreateWindowExW", button.text);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  EnableWindow(GetDlgItem(window_, kBack), FALSE);
  EnableWindow(GetDlgItem(window_, kForward), FALSE);
  // The pane follows the tool bar in the tab order.
  pane_.Create(window_, font_, bold_);
  pane_.SetFonts(font_, bold_, dpi_);
}

int BookWindow::PaneRight() const {
  RECT client{};
  GetClientRect(window_, &client);
  int width = Scaled(state_.paneWidth);
  const int most = client.right - Scaled(kMinPageWidth) - Scaled(kSplitterWidth);
  if (width > most) width = most;
  if (width < Scaled(kMinPaneWidth)) width = Scaled(kMinPaneWidth);
  return width;
}

bool BookWindow::OnSplitter(int x, int y) const {
  return x >= PaneRight() && x < PaneRight() + Scaled(kSplitterWidth) &&
         y >= Scaled(kToolBarHeight);
}

RECT BookWindow::PageArea() const {
  RECT area{};
  GetClientRect(window_, &area);
  area.top = Scaled(kToolBarHeight);
  area.left = PaneRight() + Scaled(kSplitterWidth);
  if (area.bottom < area.top) area.bottom = area.top;
  if (area.right < area.left) area.right = area.left;
  return area;
}

void BookWindow::Layout() {
  // The tool bar: each button as wide as its text.
  const HDC dc = GetDC(window_);
  const HGDIOBJ old_font =
      SelectObject(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  const int gap = Scaled(kButtonGap);
  int x = gap;
  for (int id = kHome; id <= kAbout; ++id) {
    const HWND button = GetDlgItem(window_, id);
    if (button == nullptr) continue;
    wchar_t text[128];
    const int length = GetWindowTextW(button, text, 128);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    int width = extent.cx + Scaled(28);
    if (width < Scaled(72)) width = Scaled(72);
    if (width > Scaled(260)) width = Scaled(260);
    MoveWindow(button, x, gap, width, Scaled(kToolBarHeight) - 2 * gap, TRUE);
    x += width + gap;
  }
  SelectObject(dc, old_font);
  ReleaseDC(window_, dc);

  const RECT area = PageArea();
  pane_.Move({gap, area.top, PaneRight(), area.bottom - gap}, dpi_);
  browser_.Resize(area);
  if (notice_ != nullptr) {
    MoveWindow(notice_, area.left + Scaled(24), area.top + Scaled(24),
               area.right - area.left - Scaled(48), area.bottom - area.top - Scaled(48), TRUE);
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
  // The page the reader was on, or asked for.
  OpenPage(*current_);
  return true;
}

void BookWindow::OpenPage(const BookEntry& page, const std::string& anchor,
                          std::vector<std::wstring> words) {
  if (inDefaultBrowser_) {
    // A file opened by the shell keeps no "#place" and no marks: the
    // default browser has its own Find.
    extracted_.OpenPage(window_, page);
    PageShown(&page);
    return;
  }
  std::string url = BookUrlFor(page.name);
  if (!anchor.empty()) url += "#" + anchor;
  pendingMarks_ = std::move(words);
  browser_.Navigate(Widen(url));
  PageShown(&page);
}

void BookWindow::PageShown(const BookEntry* page) {
  current_ = page;
  state_.page = page->name;
  if (!pane_.showingResults()) pane_.ShowContents(page);
  EnableWindow(GetDlgItem(window_, kPrevious), PageBeside(contents_, page, -1) != nullptr);
  EnableWindow(GetDlgItem(window_, kNext), PageBeside(contents_, page, 1) != nullptr);
  // A button greyed out at the end of the book loses the focus; the keys
  // must still reach the window, so the pane takes it.
  const HWND focus = GetFocus();
  if (GetForegroundWindow() == window_ && (focus == nullptr || !IsWindowEnabled(focus))) {
    SetFocus(pane_.list());
  }
}

void BookWindow::Step(int step) {
  if (const BookEntry* page = PageBeside(contents_, current_, step)) OpenPage(*page);
}

void BookWindow::OpenSelected() {
  const FoundPage* result = pane_.SelectedResult();
  if (result != nullptr) {
    OpenPage(*result->entry, {}, MarksFor(*result, pane_.Query()));
  } else if (const BookEntry* page = pane_.SelectedPage()) {
    OpenPage(*page);
  }
}

bool BookWindow::IndexReady(std::string& problem) {
  if (index_) return true;
  const std::optional<std::string_view> stored =
      FindOtherEntry(GetModuleHandleW(nullptr), book_format::kVexmarType, book_format::kSearchName);
  if (stored) {
    Result<book::SearchIndex> opened = book::SearchIndex::Open(*stored);
    if (opened) {
      index_ = std::move(opened.value());
      return true;
    }
    // A damaged index is passed over: the pages themselves can still be read.
  }
  if (!worker_.done()) {
    // A book made without its index: built once, in the background.
    if (!worker_.Start(contents_, window_, kIndexReady)) {
      problem = "The search cannot start: no thread for reading the book's pages.";
    }
    return false;
  }
  Result<book::SearchIndex> built = book::SearchIndex::Open(worker_.entry());
  if (!built) {
    problem = "This book cannot be searched: " + built.error().reason;
    return false;
  }
  index_ = std::move(built.value());
  return true;
}

void BookWindow::RunQuery() {
  KillTimer(window_, kQueryTimer);
  const std::string query = pane_.Query();
  if (IsBlank(query)) {
    pane_.ShowContents(current_);
    return;
  }
  std::string problem;
  if (!IndexReady(problem)) {
    pane_.ShowResults({}, problem.empty() ? "Reading the book's pages for the search..." : problem);
    return;
  }
  std::vector<FoundPage> found =
      SearchBook(*index_, query, book_.entries, contents_, AnsiToUtf8, kResultLimit);
  pane_.ShowResults(std::move(found), "No page has \"" + query + "\".");
}

void BookWindow::FocusPage() {
  // The control's own window, whose class Internet Explorer has kept since
  // its first version; the fallback's page is in another program, so the
  // tool bar takes the focus there.
  HWND page = nullptr;
  EnumChildWindows(window_, FindPageWindow, reinterpret_cast<LPARAM>(&page));
  SetFocus(page != nullptr ? page : GetDlgItem(window_, kHome));
}

void BookWindow::SaveState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(window_, &placement)) {
    // The restored place, which a maximised window goes back to.
    state_.hasPlace = true;
    state_.left = placement.rcNormalPosition.left;
    state_.top = placement.rcNormalPosition.top;
    state_.right = placement.rcNormalPosition.right;
    state_.bottom = placement.rcNormalPosition.bottom;
    state_.maximized = placement.showCmd == SW_SHOWMAXIMIZED;
  }
}

void BookWindow::OnCommand(int id, int code) {
  switch (id) {
    case kHome:
      OpenPage(*check_.indexPage);
      break;
    case kPrevious:
    case kNext:
      Step(id == kNext ? 1 : -1);
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
    case ReaderPane::kSearchBoxId:
      if (code == EN_CHANGE) SetTimer(window_, kQueryTimer, kQueryDelayMs, nullptr);
      break;
    case ReaderPane::kListId:
      // A click opens the page; the arrow keys only move through the list
      // (Enter opens), so a reader can look before going.
      if (code == LBN_DBLCLK || (code == LBN_SELCHANGE && listClicked_)) {
        OpenSelected();
      }
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

void BookWindow::OnPageComplete(const std::wstring& url) {
  // Links, Back and Forward move through the book too: the pane follows.
  const std::optional<std::string> path = BookPathFromUrl(Narrow(url), AnsiToUtf8);
  const BookEntry* page = path ? book_.entries.FindForPath(*path) : nullptr;
  if (page != nullptr) PageShown(page);
  if (!pendingMarks_.empty()) {
    browser_.Highlight(pendingMarks_);
    pendingMarks_.clear();
  }
}

void BookWindow::OnExternalLink(const std::wstring& url) {
  OpenWithShell(window_, url);
}

bool BookWindow::HandleKey(const MSG& message) {
  // Keys come as WM_SYSKEYDOWN while no window has the focus.
  if (message.message != WM_KEYDOWN &&
      (message.message != WM_SYSKEYDOWN || GetKeyState(VK_MENU) < 0)) {
    return false;
  }
  const bool control = GetKeyState(VK_CONTROL) < 0;
  const HWND box = pane_.searchBox();
  switch (message.wParam) {
    case VK_PRIOR:
    case VK_NEXT:
      if (!control) return false;
      Step(message.wParam == VK_NEXT ? 1 : -1);
      return true;
    case 'F':
      if (!control) return false;
      SetFocus(box);
      SendMessageW(box, EM_SETSEL, 0, -1);
      return true;
    case VK_F6:
      if (pane_.Owns(message.hwnd)) {
        FocusPage();
      } else {
        SetFocus(pane_.list());
      }
      return true;
    case VK_ESCAPE:
      if (!pane_.Owns(message.hwnd)) return false;
      pane_.ClearQuery();
      RunQuery();
      SetFocus(box);
      return true;
    case VK_RETURN:
      if (message.hwnd == box) {
        RunQuery();
        SetFocus(pane_.list());
        return true;
      }
      if (message.hwnd != pane_.list()) return false;
      OpenSelected();
      return true;
    case VK_DOWN:
      if (message.hwnd != box) return false;
      SetFocus(pane_.list());
      return true;
    default:
      return false;
  }
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
      OnCommand(LOWORD(w), HIWORD(w));
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(l);
      if (item.CtlID != static_cast<UINT>(ReaderPane::kListId)) break;
      pane_.Draw(item);
      return TRUE;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case kDpiChanged: {
      // Moving to a screen of another DPI: new fonts, sizes and the place
      // Windows suggests.
      dpi_ = HIWORD(w);
      MakeFonts();
      for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
           child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
      }
      pane_.SetFonts(font_, bold_, dpi_);
      const RECT& suggested = *reinterpret_cast<const RECT*>(l);
      SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      InvalidateRect(window_, nullptr, TRUE);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT at{};
      GetCursorPos(&at);
      ScreenToClient(window_, &at);
      if (reinterpret_cast<HWND>(w) == window_ && OnSplitter(at.x, at.y)) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
      if (OnSplitter(GET_X_LPARAM(l), GET_Y_LPARAM(l))) {
        dragging_ = true;
        SetCapture(window_);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) {
        state_.paneWidth = MulDiv(GET_X_LPARAM(l) > 0 ? GET_X_LPARAM(l) : 0, 96, dpi_);
        Layout();
        state_.paneWidth = MulDiv(PaneRight(), 96, dpi_);
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
      }
      return 0;
    case WM_TIMER:
      if (w == kQueryTimer) {
        RunQuery();
      } else if (w == kFirstPageTimer && !inDefaultBrowser_ && !UseDefaultBrowser()) {
        fatal_ = true;
        ShowMessageBox(window_,
                       "The book cannot be shown: its pages cannot be put in a temporary folder.",
                       book::DisplayTitle(check_.record), MB_ICONERROR);
        DestroyWindow(window_);
      }
      return 0;
    case kIndexReady:
      RunQuery();
      return 0;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
      SaveState();
      KillTimer(window_, kFirstPageTimer);
      KillTimer(window_, kQueryTimer);
      browser_.Destroy();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}

int BookWindow::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The reader's keys come before the control's, which would take
    // Ctrl+F and Ctrl+Page Down for itself.
    if (HandleKey(message) || browser_.TranslateKey(message)) {
      continue;
    }
    // The list tells a change of selection alike for a click and a key;
    // only a click opens the page at once.
    if (message.hwnd == pane_.list() && message.message == WM_LBUTTONDOWN) listClicked_ = true;
    if (message.hwnd == pane_.list() && message.message == WM_KEYDOWN) listClicked_ = false;
    // Tab and the access keys between the tool bar's buttons and the pane
    // only: the control's own windows must get their keys untouched.
    const HWND parent = GetParent(message.hwnd);
    const bool ours =
        message.hwnd == window_ ||
        (parent == window_ && message.hwnd != notice_ &&
         ((GetDlgCtrlID(message.hwnd) >= kHome && GetDlgCtrlID(message.hwnd) <= kAbout) ||
          pane_.Owns(message.hwnd)));
    if (ours && IsDialogMessageW(window_, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return fatal_ ? kExitFailed : kExitOk;
}

}  // namespace vexmar::viewer
