// window_probe: tells a test script what Windows knows about the windows of
// one program in the same Wine prefix, which X11 tools cannot see, and posts
// the messages the system would. Only windows of programs started from
// FOLDER count, so another copy of the program cannot answer in its place.
//   window_probe FOLDER [class=NAME] find TITLE    the window with this caption
//   window_probe FOLDER [class=NAME] children TITLE  its child controls
//   window_probe FOLDER [class=NAME] close TITLE     posts WM_CLOSE, as the system does
//   window_probe FOLDER [class=NAME] syscommand TITLE N  posts WM_SYSCOMMAND N
//
// "class=NAME" tells a message box (#32770) titled like the main window from
// it. Exit code 0 when the window was found, 1 when not, 2 for a wrong call.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
  std::wstring folder;
  std::wstring title;
  std::wstring className;  // empty: any class
  HWND found = nullptr;
};

bool StartedFrom(HWND window, const std::wstring& folder) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (handle == nullptr) return false;
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  const BOOL ok = QueryFullProcessImageNameW(handle, 0, path, &size);
  CloseHandle(handle);
  const int length = static_cast<int>(folder.size());
  return ok && size >= folder.size() &&
         CompareStringOrdinal(path, length, folder.c_str(), length, TRUE) == CSTR_EQUAL;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &copied);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<Search*>(search);
  if (TextOf(window) != s.title) return TRUE;
  if (!s.className.empty() && ClassOf(window) != s.className) return TRUE;
  if (!StartedFrom(window, s.folder)) return TRUE;
  // A visible window wins over a hidden one of the same caption.
  if (s.found == nullptr || IsWindowVisible(window)) s.found = window;
  return !IsWindowVisible(window);
}

// UTF-8 for the script, which compares the texts the author typed; a line
// break or other control character as a question mark, so one window or
// control stays one line.
void PrintText(const char* label, std::wstring text) {
  for (wchar_t& c : text) {
    if (c < 32 || c == 127) c = L'?';
  }
  std::string bytes(text.size() * 4, '\0');
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          static_cast<int>(bytes.size()), nullptr, nullptr);
  std::printf(" %s=%.*s", label, size, bytes.data());
}

void PrintPlace(const char* kind, HWND window, const RECT& rect) {
  std::printf("%s visible=%d enabled=%d left=%ld top=%ld width=%ld height=%ld", kind,
              IsWindowVisible(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0, rect.left, rect.top,
              rect.right - rect.left, rect.bottom - rect.top);
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  RECT rect{};
  GetWindowRect(child, &rect);
  PrintPlace("child", child, rect);
  PrintText("class", ClassOf(child));
  PrintText("text", TextOf(child));
  std::printf("\n");
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int next = 2;
  std::wstring className;
  if (argc > next && std::wcsncmp(argv[next], L"class=", 6) == 0) className = argv[next++] + 6;
  if (argc != next + 2 && argc != next + 3) {
    std::fwprintf(stderr, L"usage: see the head of window_probe.cpp\n");
    return 2;
  }
  const std::wstring command = argv[next];
  Search search{argv[1], argv[next + 1], className};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) {
    std::printf("none\n");
    return 1;
  }
  const HWND found = search.found;
  if (command == L"find") {
    RECT outer{};
    GetWindowRect(found, &outer);
    POINT origin{0, 0};
    ClientToScreen(found, &origin);
    // The handle tells one box from the next box of the same title.
    PrintPlace("window", found, outer);
    std::printf(" client_left=%ld client_top=%ld handle=%p\n", origin.x, origin.y,
                static_cast<void*>(found));
  } else if (command == L"children") {
    EnumChildWindows(found, PrintChild, 0);
  } else if (command == L"close") {
    PostMessageW(found, WM_CLOSE, 0, 0);
  } else if (command == L"syscommand" && argc == next + 3) {
    PostMessageW(found, WM_SYSCOMMAND, std::wcstoul(argv[next + 2], nullptr, 0), 0);
  } else {
    return 2;
  }
  return 0;
}
