// The test build's stand-in for the shell: writes what would have been
// opened, the files of its folder and the window's title to the file named
// by VEXMAR_VIEWER_SHELL_LOG, then closes the viewer window, so a test can
// check what a reader would have seen and that the folder goes away.
#include "viewer/shell_open_win32.h"

#include <string>

#include "viewer/win32_text.h"

namespace vexmar::viewer {

bool OpenWithShell(HWND owner, const std::wstring& target) {
  wchar_t log_path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", log_path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return false;
  }
  std::string log = "open\t" + Narrow(target) + "\r\n";
  wchar_t title[512] = L"";
  if (owner != nullptr) {
    GetWindowTextW(owner, title, 512);
  }
  log += "title\t" + Narrow(title) + "\r\n";
  const size_t slash = target.rfind(L'\\');
  if (slash != std::wstring::npos) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((target.substr(0, slash) + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
          log += "file\t" + Narrow(found.cFileName) + "\t" + std::to_string(found.nFileSizeLow) +
                 "\r\n";
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
  }
  const HANDLE file = CreateFileW(log_path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  WriteFile(file, log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
  CloseHandle(file);
  if (owner != nullptr) {
    PostMessageW(owner, WM_CLOSE, 0, 0);
  }
  return true;
}

}  // namespace vexmar::viewer
