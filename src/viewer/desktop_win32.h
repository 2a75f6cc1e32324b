#pragma once
// What the viewer hands to the reader's desktop: pages and addresses for the
// default program, and message boxes. The shipped viewer calls the shell
// and MessageBox; the test build of the viewer links a recorder in their
// place (desktop_recorder_win32.cpp), so a test can see what a reader
// would have seen without a browser or anyone to press OK.
#include <windows.h>

#include <string>

namespace vexmar::viewer {

bool OpenWithShell(HWND owner, const std::wstring& target);
// `icon` is one of the MB_ICON... flags; the box has an OK button.
void ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT icon);

}  // namespace vexmar::viewer
