#pragma once
// The windows on the real Win32 backend, with scripted dialogs so no test
// waits for an answer nobody gives.
#include <windows.h>

#include <memory>

#include "platform/dialogs/scripted/scripted_services.h"
#include "platform/host.h"
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

// A child window's rectangle in its parent's client area.
inline RECT PlaceInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace vexmar::testing
