#pragma once
// Hands a page or an address to the reader's default program. The shipped
// viewer calls the shell; the test build of the viewer links a recorder in
// its place (shell_open_recorder_win32.cpp), so a test can see what would
// have been opened without a browser.
#include <windows.h>

#include <string>

namespace vexmar::viewer {

bool OpenWithShell(HWND owner, const std::wstring& target);

}  // namespace vexmar::viewer
