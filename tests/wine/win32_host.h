#pragma once
// The windows on the real Win32 backend, with scripted dialogs so no test
// waits for an answer nobody gives, and the few Win32 look-ups the suites
// share.
#include <windows.h>

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

inline std::wstring Wide(const std::string& utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

inline std::string TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}

inline BOOL CALLBACK AddChildText(HWND child, LPARAM texts) {
  *reinterpret_cast<std::string*>(texts) += TextOf(child) + "|";
  return TRUE;
}
// Every child's text, each followed by "|": what a dialog shows the author.
inline std::string ChildTexts(HWND window) {
  std::string texts;
  EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

// A child window's rectangle in its parent's client area.
inline RECT PlaceInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace vexmar::testing
