// The test build's stand-in for the desktop. It appends to the file named
// by VEXMAR_VIEWER_SHELL_LOG what would have been opened (with the files of
// its folder and the window's title) and every message box, then closes
// the viewer window, so a test can check what a reader would have seen and
// that the book's temporary folder goes away. With VEXMAR_VIEWER_SHELL_STAY
// set the window stays open, for a test that goes on to drive it.
#include <string>

#include "viewer/desktop_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

bool AppendToLog(const std::string& text) {
  wchar_t log_path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", log_path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return false;
  }
  const HANDLE file = CreateFileW(log_path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return true;
}

std::string FolderListing(const std::wstring& target) {
  std::string listing;
  const size_t slash = target.rfind(L'\\');
  if (slash == std::wstring::npos) {
    return listing;
  }
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((target.substr(0, slash) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return listing;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      listing +=
          "file\t" + Narrow(found.cFileName) + "\t" + std::to_string(found.nFileSizeLow) + "\r\n";
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return listing;
}

}  // namespace

bool OpenWithShell(HWND owner, const std::wstring& target) {
  wchar_t title[512] = L"";
  if (owner != nullptr) {
    GetWindowTextW(owner, title, 512);
  }
  const std::string log =
      "open\t" + Narrow(target) + "\r\ntitle\t" + Narrow(title) + "\r\n" + FolderListing(target);
  if (!AppendToLog(log)) {
    return false;
  }
  if (owner != nullptr && GetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_STAY", nullptr, 0) == 0) {
    PostMessageW(owner, WM_CLOSE, 0, 0);
  }
  return true;
}

void ShowMessageBox(HWND, const std::string& text, const std::string& title, UINT) {
  std::string one_line = text;
  for (char& c : one_line) {
    c = c == '\n' ? '|' : c;
  }
  AppendToLog("box\t" + title + "\t" + one_line + "\r\n");
}

}  // namespace vexmar::viewer
