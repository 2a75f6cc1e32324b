#include "wine/win32_host.h"

namespace vexmar::testing {
namespace {

WindowAnswerer* g_current = nullptr;

BOOL CALLBACK AddChildText(HWND child, LPARAM texts) {
  *reinterpret_cast<std::string*>(texts) += TextOf(child) + "|";
  return TRUE;
}

BOOL CALLBACK FindSystemDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (!IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

std::string TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(text));
}

std::string ChildTexts(HWND window) {
  std::string texts;
  EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

RECT PlaceInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void PumpMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;  // a test's window may end "the program"
    if (ui::win32::HandleDialogKeys(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

WindowAnswerer::WindowAnswerer(std::function<void(HWND)> answer) : answer_(std::move(answer)) {
  g_current = this;
  timer_ = SetTimer(nullptr, 0, 50, Tick);
}

WindowAnswerer::~WindowAnswerer() {
  KillTimer(nullptr, timer_);
  if (g_current == this) g_current = nullptr;
}

void CALLBACK WindowAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD) {
  WindowAnswerer* self = g_current;
  if (self == nullptr || self->answered_) return;
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindSystemDialog, reinterpret_cast<LPARAM>(&found));
  if (found == nullptr) return;
  self->answered_ = true;
  self->answer_(found);
}

}  // namespace vexmar::testing
