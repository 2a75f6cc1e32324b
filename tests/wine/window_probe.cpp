// window_probe: tells a test script what Windows knows about the windows of
// one program in the same Wine prefix, which X11 tools cannot see, and posts
// the messages the system would. Only windows of programs started from
// FOLDER count, so another copy of the program cannot answer in its place.
//   window_probe FOLDER [class=NAME] find TITLE    the window with this caption
//   window_probe FOLDER [class=NAME] children TITLE  its child controls
//   window_probe FOLDER [class=NAME] close TITLE     posts WM_CLOSE, as the system does
//   window_probe FOLDER [class=NAME] syscommand TITLE N  posts WM_SYSCOMMAND N
//   window_probe FOLDER [class=NAME] settext TITLE HANDLE TEXT
//       gives the child HANDLE (from `children`) the text, as typing it would
//   window_probe FOLDER [class=NAME] browse TITLE PATH
//       selects PATH in the folder browser titled TITLE, as clicking through
//       its tree would
//   window_probe FOLDER acp                 the ANSI code page Wine gave the probe
//
// "class=NAME" tells a message box (#32770) titled like the main window from
// it. Exit code 0 when the window was found, 1 when not, 2 for a wrong call.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <shlobj.h>

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
  // The handle for settext; the id tells a box's buttons apart in any
  // language (IDOK 1, IDYES 6).
  std::printf(" handle=%p id=%ld", static_cast<void*>(child),
              static_cast<long>(GetWindowLongPtrW(child, GWLP_ID)));
  PrintText("class", ClassOf(child));
  PrintText("text", TextOf(child));
  std::printf("\n");
  return TRUE;
}

// Typing Japanese through xdotool into a Wine window is unreliable, so the
// text goes in whole as UTF-16. A single-line edit control sends its parent
// EN_UPDATE and EN_CHANGE for WM_SETTEXT itself, as for typing (the
// program's text boxes need neither: it reads them when a command runs).
bool SetChildText(HWND parent, const wchar_t* handle, const wchar_t* text) {
  const auto child =
      reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(handle, nullptr, 16)));
  if (!IsChild(parent, child)) return false;
  DWORD_PTR done = 0;
  return SendMessageTimeoutW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             5000, &done) != 0 &&
         done == TRUE;
}

// Memory in another process, for messages whose pointers that process
// follows (the tree's items, a path for the folder browser).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, SIZE_T size) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (process_ != nullptr) {
      at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() {
    if (at_ != nullptr) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  char* At() const { return static_cast<char*>(at_); }
  bool Write(const void* bytes, SIZE_T size, SIZE_T offset = 0) const {
    return at_ != nullptr && WriteProcessMemory(process_, At() + offset, bytes, size, nullptr);
  }
  bool Read(void* bytes, SIZE_T size, SIZE_T offset = 0) const {
    return at_ != nullptr && ReadProcessMemory(process_, At() + offset, bytes, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* at_ = nullptr;
};

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
  return static_cast<LRESULT>(result);
}

std::wstring ItemText(HWND tree, const RemoteBuffer& remote, HTREEITEM item) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW query{};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = reinterpret_cast<wchar_t*>(remote.At() + sizeof(TVITEMW));
  query.cchTextMax = MAX_PATH;
  if (!remote.Write(&query, sizeof query) ||
      !Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.At())) ||
      !remote.Read(text, sizeof text - sizeof(wchar_t), sizeof(TVITEMW))) {
    return L"";
  }
  return text;
}

HTREEITEM Next(HWND tree, WPARAM which, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(
      Send(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(item)));
}

// The deepest item of the branch the tree has open.
HTREEITEM DeepestOpen(HWND tree) {
  HTREEITEM open = Next(tree, TVGN_ROOT, nullptr);
  for (HTREEITEM child = Next(tree, TVGN_CHILD, open); child != nullptr;) {
    if (Send(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(child), TVIS_EXPANDED) != 0) {
      open = child;
      child = Next(tree, TVGN_CHILD, open);
    } else {
      child = Next(tree, TVGN_NEXT, child);
    }
  }
  return open;
}

// Given the whole path, the browser opens the branch down to the drive or
// deeper, and stops at the first folder it does not match (Wine's items of a
// folder may differ from a parsed path's); from where it stopped, each
// folder is opened and selected by its name, as clicking through the tree
// would.
bool BrowseTo(HWND browser, const std::wstring& path) {
  const HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
  RemoteBuffer remote(browser, sizeof(TVITEMW) + (path.size() + MAX_PATH) * sizeof(wchar_t));
  if (tree == nullptr || !remote.Write(path.c_str(), (path.size() + 1) * sizeof(wchar_t))) {
    return false;
  }
  Send(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote.At()));
  HTREEITEM item = DeepestOpen(tree);
  // Past the folder the open branch ends in, else past the drive.
  const std::wstring reached = L"\\" + ItemText(tree, remote, item) + L"\\";
  const std::size_t stop = (path + L"\\").rfind(reached);
  std::size_t from = stop != std::wstring::npos && stop >= 2 ? stop + reached.size() : 3;
  while (from < path.size()) {
    std::size_t to = path.find(L'\\', from);
    if (to == std::wstring::npos) to = path.size();
    const std::wstring name = path.substr(from, to - from);
    from = to + 1;
    Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    item = Next(tree, TVGN_CHILD, item);
    while (item != nullptr && ItemText(tree, remote, item) != name) {
      item = Next(tree, TVGN_NEXT, item);
    }
    if (item == nullptr) return false;
  }
  return Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int next = 2;
  std::wstring className;
  if (argc > next && std::wcsncmp(argv[next], L"class=", 6) == 0) className = argv[next++] + 6;
  if (argc == next + 1 && std::wcscmp(argv[next], L"acp") == 0) {
    std::printf("acp=%u\n", GetACP());
    return 0;
  }
  if (argc < next + 2 || argc > next + 4) {
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
  } else if (command == L"settext" && argc == next + 4) {
    return SetChildText(found, argv[next + 2], argv[next + 3]) ? 0 : 1;
  } else if (command == L"browse" && argc == next + 3) {
    return BrowseTo(found, argv[next + 2]) ? 0 : 1;
  } else {
    return 2;
  }
  return 0;
}
