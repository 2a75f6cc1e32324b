#include "wine/window_answerer.h"

namespace vexmar::testing {
namespace {

WindowAnswerer* g_current = nullptr;

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
