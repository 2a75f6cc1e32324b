#include "wine/win32_host.h"

namespace vexmar::testing {
namespace {

WindowAnswerer* g_current = nullptr;

BOOL CALLBACK AddChildText(HWND child, LPARAM texts) {
  *reinterpret_cast<std::string*>(texts) += TextOf(child) + "|";
  return TRUE;
}

struct Search {
  const std::function<bool(HWND)>* matches;
  HWND found;
};

BOOL CALLBACK FindWindowOfThread(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<Search*>(search);
  if (!IsWindowVisible(window) || !(*s->matches)(window)) return TRUE;
  s->found = window;
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

bool IsSystemDialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpW(name, L"#32770") == 0;
}

WindowAnswerer::WindowAnswerer(std::function<bool(HWND)> matches, std::function<void(HWND)> answer)
    : matches_(std::move(matches)), answer_(std::move(answer)) {
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
  Search search{&self->matches_, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindWindowOfThread, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return;
  self->answered_ = true;
  self->answer_(search.found);
}

}  // namespace vexmar::testing
