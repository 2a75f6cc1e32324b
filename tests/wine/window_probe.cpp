// window_probe: tells a test script what Windows knows about the windows of
// one program that runs in the same Wine prefix, where X11 tools cannot see
// it: window styles, owners, client areas, child controls and their texts,
// the point of a close box. It also posts the messages the system would.
//
//   window_probe FOLDER find TITLE        the window with this caption
//   window_probe FOLDER children TITLE    its child controls, with their tool tips
//   window_probe FOLDER entries TITLE     the entries of its check lists
//   window_probe FOLDER closebox TITLE    a screen point on its close box
//   window_probe FOLDER close TITLE       posts WM_CLOSE, as the system does
//   window_probe FOLDER syscommand TITLE N  posts WM_SYSCOMMAND N
//   window_probe FOLDER windows           every shown top-level window
//
// "class=NAME" after FOLDER narrows TITLE to windows of that class, so a
// message box (#32770) titled like the main window can be told from it.
// Only windows of programs started from FOLDER count, so another copy of the
// program running meanwhile cannot answer in its place. Exit code 0 when the
// window was found, 1 when not, 2 for a wrong command line.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Search {
  std::wstring folder;
  std::wstring title;
  std::wstring className;  // empty: any class
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

bool StartedFrom(HWND window, const std::wstring& folder) {
  return Lower(ProcessImage(window)).rfind(Lower(folder), 0) == 0;
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
void PrintText(const std::wstring& text) {
  std::wstring printable = text;
  for (wchar_t& c : printable) {
    if (c < 32 || c == 127) c = L'?';
  }
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, printable.data(), static_cast<int>(printable.size()), nullptr,
                          0, nullptr, nullptr);
  if (size <= 0) return;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, printable.data(), static_cast<int>(printable.size()),
                      bytes.data(), size, nullptr, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
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

// The tool tip texts of another program's controls. Tool tip messages carry
// pointers that Windows does not carry across processes, so the question and
// its answer go through memory borrowed inside the program for the purpose.
class ToolTips {
 public:
  explicit ToolTips(HWND window) : window_(window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    EnumWindows(CollectTips, reinterpret_cast<LPARAM>(this));
    if (tips_.empty()) return;
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (process_ == nullptr) return;
    remote_ = VirtualAllocEx(process_, nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~ToolTips() {
    if (remote_ != nullptr) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;

  std::wstring Of(HWND control) const {
    if (remote_ == nullptr) return {};
    for (HWND tip : tips_) {
      TTTOOLINFOW tool{};
      tool.cbSize = TTTOOLINFOW_V2_SIZE;
      tool.hwnd = window_;
      tool.uId = reinterpret_cast<UINT_PTR>(control);
      auto* remoteText = static_cast<wchar_t*>(remote_) + kToolChars;
      tool.lpszText = remoteText;
      const wchar_t nothing = L'\0';
      if (!WriteProcessMemory(process_, remote_, &tool, sizeof tool, nullptr) ||
          !WriteProcessMemory(process_, remoteText, &nothing, sizeof nothing, nullptr)) {
        return {};
      }
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(tip, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(remote_),
                          SMTO_ABORTIFHUNG, 2000, &ignored);
      std::vector<wchar_t> text(kTextChars + 1, L'\0');
      if (!ReadProcessMemory(process_, remoteText, text.data(), kTextChars * sizeof(wchar_t),
                             nullptr)) {
        return {};
      }
      if (text[0] != L'\0') return text.data();
    }
    return {};
  }

 private:
  // The tool information first, then room for the longest text a tool tip
  // hands out.
  static constexpr std::size_t kToolChars = 64;
  static constexpr std::size_t kTextChars = 1024;
  static constexpr std::size_t kBytes = (kToolChars + kTextChars + 1) * sizeof(wchar_t);
  static_assert(sizeof(TTTOOLINFOW) <= kToolChars * sizeof(wchar_t), "room for the tool");

  static BOOL CALLBACK CollectTips(HWND candidate, LPARAM self) {
    auto& tips = *reinterpret_cast<ToolTips*>(self);
    if (GetWindow(candidate, GW_OWNER) == tips.window_ && ClassOf(candidate) == TOOLTIPS_CLASSW) {
      tips.tips_.push_back(candidate);
    }
    return TRUE;
  }

  HWND window_;
  std::vector<HWND> tips_;
  HANDLE process_ = nullptr;
  void* remote_ = nullptr;
};

struct ChildList {
  const ToolTips& tips;
};

BOOL CALLBACK PrintChild(HWND child, LPARAM list) {
  const auto& children = *reinterpret_cast<const ChildList*>(list);
  RECT rect{};
  GetWindowRect(child, &rect);
  std::printf("child visible=%d enabled=%d focus=%d left=%ld top=%ld width=%ld height=%ld class=",
              IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0,
              GetFocus() == child ? 1 : 0, rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top);
  PrintText(ClassOf(child));
  // The tip before the text: a caption-less tool-bar button is known by it.
  const std::wstring tip = children.tips.Of(child);
  if (!tip.empty()) {
    std::printf(" tip=");
    PrintText(tip);
  }
  std::printf(" text=");
  PrintText(TextOf(child));
  std::printf("\n");
  return TRUE;
}

void Children(HWND window) {
  // GetFocus answers for this thread only; joined to the program's input,
  // it answers for the program's.
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  const bool attached = AttachThreadInput(GetCurrentThreadId(), thread, TRUE) != FALSE;
  const ToolTips tips(window);
  ChildList list{tips};
  EnumChildWindows(window, PrintChild, reinterpret_cast<LPARAM>(&list));
  if (attached) AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
}

// The program's check lists are list boxes that keep an entry's check mark
// in its item data (1 checked); list box messages cross processes.
BOOL CALLBACK PrintEntries(HWND child, LPARAM) {
  const std::wstring kind = ClassOf(child);
  if (!IsWindowVisible(child) || (kind != L"VexmarCheckList" && kind != L"ListBox")) return TRUE;
  POINT origin{0, 0};
  ClientToScreen(child, &origin);
  const LRESULT count = SendMessageW(child, LB_GETCOUNT, 0, 0);
  for (LRESULT index = 0; index < count; ++index) {
    const auto entry = static_cast<WPARAM>(index);
    RECT rect{};
    SendMessageW(child, LB_GETITEMRECT, entry, reinterpret_cast<LPARAM>(&rect));
    const LRESULT length = SendMessageW(child, LB_GETTEXTLEN, entry, 0);
    std::vector<wchar_t> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    SendMessageW(child, LB_GETTEXT, entry, reinterpret_cast<LPARAM>(text.data()));
    std::printf("entry index=%ld checked=%d current=%d left=%ld top=%ld width=%ld height=%ld text=",
                static_cast<long>(index),
                SendMessageW(child, LB_GETITEMDATA, entry, 0) == 1 ? 1 : 0,
                SendMessageW(child, LB_GETCURSEL, 0, 0) == index ? 1 : 0, origin.x + rect.left,
                origin.y + rect.top, rect.right - rect.left, rect.bottom - rect.top);
    PrintText(text.data());
    std::printf("\n");
  }
  return TRUE;
}

struct Shown {
  std::wstring folder;
};

BOOL CALLBACK PrintShown(HWND window, LPARAM shown) {
  const auto& s = *reinterpret_cast<const Shown*>(shown);
  if (!IsWindowVisible(window) || !StartedFrom(window, s.folder)) return TRUE;
  // The handle tells one box from the next box of the same title.
  std::printf("window handle=%p enabled=%d owner=%d class=", static_cast<void*>(window),
              IsWindowEnabled(window) ? 1 : 0, GetWindow(window, GW_OWNER) != nullptr ? 1 : 0);
  PrintText(ClassOf(window));
  std::printf(" title=");
  PrintText(TextOf(window));
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
  constexpr wchar_t kUsage[] =
      L"usage: window_probe FOLDER [class=NAME] "
      L"find|children|entries|closebox|close|syscommand TITLE [N]\n"
      L"       window_probe FOLDER windows\n";
  int next = 2;
  std::wstring className;
  if (argc > next && std::wcsncmp(argv[next], L"class=", 6) == 0) className = argv[next++] + 6;
  if (argc == next + 1 && std::wcscmp(argv[next], L"windows") == 0) {
    Shown shown{argv[1]};
    EnumWindows(PrintShown, reinterpret_cast<LPARAM>(&shown));
    std::fflush(stdout);
    return 0;
  }
  if (argc < next + 2) {
    std::fwprintf(stderr, L"%ls", kUsage);
    return 2;
  }
  const std::wstring command = argv[next];
  Search search{argv[1], argv[next + 1], className};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) {
    std::printf("none\n");
    return 1;
  }
  const bool number = argc == next + 3;
  if (command == L"find" && !number) {
    Find(search.found);
  } else if (command == L"children" && !number) {
    Children(search.found);
  } else if (command == L"entries" && !number) {
    EnumChildWindows(search.found, PrintEntries, 0);
  } else if (command == L"closebox" && !number) {
    if (!CloseBox(search.found)) return 1;
  } else if (command == L"close" && !number) {
    PostMessageW(search.found, WM_CLOSE, 0, 0);
  } else if (command == L"syscommand" && number) {
    PostMessageW(search.found, WM_SYSCOMMAND,
                 static_cast<WPARAM>(std::wcstoul(argv[next + 2], nullptr, 0)), 0);
  } else {
    std::fwprintf(stderr, L"%ls", kUsage);
    return 2;
  }
  std::fflush(stdout);
  return 0;
}
