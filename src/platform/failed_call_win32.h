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
// last error. `what` (a class name, a control's text) may be null.
inline void ReportFailedWin32Call(const wchar_t* call, const wchar_t* what = nullptr) {
  const DWORD code = GetLastError();
  // One call, so the debugger shows one line; a long `what` is cut short
  // so the number always fits.
  constexpr size_t kWhatLimit = 120;
  wchar_t line[256];
  size_t used = 0;
  auto append = [&line, &used](const wchar_t* text, size_t limit = sizeof line / sizeof line[0]) {
    for (size_t taken = 0;
         *text != L'\0' && taken < limit && used + 1 < sizeof line / sizeof line[0];
         ++text, ++taken) {
      line[used++] = *text;
    }
  };
  wchar_t digits[11];
  wchar_t* number = digits + 10;
  *number = L'\0';
  DWORD rest = code;
  do {
    *--number = static_cast<wchar_t>(L'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  append(L"Vexmar: ");
  append(call);
  if (what != nullptr) {
    append(L" (");
    append(what, kWhatLimit);
    append(L")");
  }
  append(L" failed, GetLastError ");
  append(number);
  append(L"\n");
  line[used] = L'\0';
  OutputDebugStringW(line);
}

}  // namespace vexmar
