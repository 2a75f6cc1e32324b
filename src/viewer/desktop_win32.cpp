#include "viewer/desktop_win32.h"

// After windows.h, which it needs.
#include <shellapi.h>

#include "viewer/text_direction.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {

bool OpenWithShell(HWND owner, const std::wstring& target) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  // ShellExecute reports success with any value above 32.
  return result > 32;
}

void ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT icon) {
  // The box's text and title read right to left when the text does (an
  // About box that starts with an Arabic title).
  const UINT order = ReadsRightToLeft(text) ? MB_RTLREADING : 0;
  MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), MB_OK | icon | order);
}

}  // namespace vexmar::viewer
