#pragma once
// The windows on the real Win32 backend, with scripted dialogs so no test
// waits for an answer nobody gives, and the Win32 look-ups and message loops
// the suites share.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/dialogs/scripted/scripted_services.h"
#include "platform/host.h"
#include "platform/text/text.h"
#include "platform/ui/form.h"
#include "platform/ui/win32/win32_backend.h"

namespace vexmar::testing {

struct Win32Host {
  std::unique_ptr<ui::Backend> backend = ui::MakeWin32Backend();
  dialogs::ScriptedServices modal;
  Host host{*backend, modal, fs::RealFileSystem(), fs::ProgramFolder()};
};

inline HWND Hwnd(const ui::Control& control) {
  return reinterpret_cast<HWND>(control.Handle());
}
inline HWND Hwnd(const ui::Form& form) {
  return reinterpret_cast<HWND>(form.Handle());
}

// A window of its own for a suite's controls, its client area in twips.
inline ui::FormDesign TestWindow(const char* name, int width, int height,
                                 ui::FormBorder border = ui::FormBorder::FixedDialog) {
  ui::FormDesign design;
  design.name = name;
  design.caption = name;
  design.clientWidth = width;
  design.clientHeight = height;
  design.border = border;
  return design;
}

inline std::wstring Wide(const std::string& utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

RECT PlaceInParent(HWND child);  // in the parent's client area

// Runs every pending message of this thread as the program's own loop
// would, dialog keys included, so a test never blocks on a message nobody
// sends.
void PumpMessages();
// Runs messages until `done` is true or `timeoutMs` has passed; the result
// is `done()` at the end.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

}  // namespace vexmar::testing
