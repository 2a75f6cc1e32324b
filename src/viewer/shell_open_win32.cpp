#include "viewer/shell_open_win32.h"

// After windows.h, which it needs.
#include <shellapi.h>

namespace vexmar::viewer {

bool OpenWithShell(HWND owner, const std::wstring& target) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  // ShellExecute reports success with any value above 32.
  return result > 32;
}

}  // namespace vexmar::viewer
