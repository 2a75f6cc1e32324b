#pragma once
// A Win32 call that fails where the program goes on without what it would
// have made (a window class, a control, a tool tip) is never passed over in
// silence: one line naming the call, what it was for and GetLastError goes
// to the debugger's output, where DebugView shows it on Windows and
// WINEDEBUG=warn+seh under Wine 8.
//
// Header-only, so the viewer stub, which links no library of ours, reports
// the same way.
#include <windows.h>

namespace vexmar {

// Call right after the failed call, before anything else can change the
// last error; `what` names what it was for (a class name, a control's text).
// Kept out of line, one copy however many calls, and built on wsprintfW
// (user32, which every program of ours imports): the viewer stub that every
// book carries must not grow for it.
[[gnu::noinline]] inline void ReportFailedWin32Call(const wchar_t* call, const wchar_t* what) {
  const DWORD code = GetLastError();
  // One line, so the debugger shows it whole; the precisions keep it within
  // the buffer whatever `what` holds.
  wchar_t line[256];
  wsprintfW(line, L"Vexmar: %.60s (%.120s) failed, GetLastError %lu\n", call, what, code);
  OutputDebugStringW(line);
}

}  // namespace vexmar
