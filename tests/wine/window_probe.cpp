// window_probe: tells a test script what Windows knows about the windows of
// one program that runs in the same Wine prefix, where X11 tools cannot see
// it: window styles, owners, client areas, child controls and their texts,
// the point of a close box. It also posts the messages the system would.
//
//   window_probe FOLDER find TITLE        the window with this caption
//   window_probe FOLDER children TITLE    its child controls
//   window_probe FOLDER closebox TITLE    a screen point on its close box
//   window_probe FOLDER close TITLE       posts WM_CLOSE, as the system does
//   window_probe FOLDER syscommand TITLE N  posts WM_SYSCOMMAND N
//
// Only windows of programs started from FOLDER count, so another copy of the
// program running meanwhile cannot answer in its place. Exit code 0 when the
// window was found, 1 when not, 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
  std::wstring folder;
  std::wstring title;
  HWND found = nullptr;
};

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

std::wstring ProcessImage(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (handle == nullptr) return {};
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  const BOOL ok = QueryFullProcessImageNameW(handle, 0, path, &size);
  CloseHandle(handle);
  return ok ? std::wstring(path, size) : std::wstring();
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &copied);
  return text;
}

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<Search*>(search);
  if (TextOf(window) != s.title) return TRUE;
  if (Lower(ProcessImage(window)).rfind(Lower(s.folder), 0) != 0) return TRUE;
  // A visible window wins over a hidden one of the same caption.
  if (s.found == nullptr || IsWindowVisible(window)) s.found = window;
  return !IsWindowVisible(window);
}

void PrintText(const std::wstring& text) {
  // Plain ASCII for the script; anything else as a question mark.
  for (wchar_t c : text) std::putchar(c >= 32 && c < 127 ? static_cast<int>(c) : '?');
}

void Find(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  std::printf(
      "visible=%d left=%ld top=%ld width=%ld height=%ld client_left=%ld client_top=%ld "
      "client_width=%ld client_height=%ld caption=%d toolwindow=%d appwindow=%d owner=%d "
      "enabled=%d screen_width=%d screen_height=%d\n",
      IsWindowVisible(window) ? 1 : 0, outer.left, outer.top, outer.right - outer.left,
      outer.bottom - outer.top, origin.x, origin.y, client.right, client.bottom,
      (style & WS_CAPTION) == WS_CAPTION ? 1 : 0, (exStyle & WS_EX_TOOLWINDOW) ? 1 : 0,
      (exStyle & WS_EX_APPWINDOW) ? 1 : 0, GetWindow(window, GW_OWNER) != nullptr ? 1 : 0,
      IsWindowEnabled(window) ? 1 : 0, GetSystemMetrics(SM_CXSCREEN),
      GetSystemMetrics(SM_CYSCREEN));
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  wchar_t className[64] = {};
  GetClassNameW(child, className, 64);
  RECT rect{};
  GetWindowRect(child, &rect);
  std::printf("child visible=%d left=%ld top=%ld width=%ld height=%ld class=",
              IsWindowVisible(child) ? 1 : 0, rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top);
  PrintText(className);
  std::printf(" text=");
  PrintText(TextOf(child));
  std::printf("\n");
  return TRUE;
}

// The close box is wherever the window says HTCLOSE, looked for along the
// middle of its caption bar from the right.
bool CloseBox(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const LONG y = outer.top + (origin.y - outer.top) / 2;
  for (LONG x = outer.right - 1; x > outer.left; --x) {
    DWORD_PTR hit = 0;
    SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit);
    if (hit == HTCLOSE) {
      std::printf("x=%ld y=%ld\n", x - 3, y);
      return true;
    }
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: window_probe FOLDER find|children|closebox|close|syscommand TITLE\n");
    return 2;
  }
  Search search{argv[1], argv[3]};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) {
    std::printf("none\n");
    return 1;
  }
  const std::wstring command = argv[2];
  if (command == L"find") {
    Find(search.found);
  } else if (command == L"children") {
    EnumChildWindows(search.found, PrintChild, 0);
  } else if (command == L"closebox") {
    if (!CloseBox(search.found)) return 1;
  } else if (command == L"close") {
    PostMessageW(search.found, WM_CLOSE, 0, 0);
  } else if (command == L"syscommand" && argc == 5) {
    PostMessageW(search.found, WM_SYSCOMMAND,
                 static_cast<WPARAM>(std::wcstoul(argv[4], nullptr, 0)), 0);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return 0;
}
