#pragma once
// Answers a window the moment it appears, from inside whatever modal loop the
// test is waiting in (a system dialog's, or our own ShowModal's), as an
// author would answer it.
#include <windows.h>

#include <functional>

namespace vexmar::testing {

// A visible system dialog (a message box, the folder browser, a file dialog).
bool IsSystemDialog(HWND window);

class WindowAnswerer {
 public:
  // Runs `answer` once with the first visible top-level window of this
  // thread for which `matches` is true.
  WindowAnswerer(std::function<bool(HWND)> matches, std::function<void(HWND)> answer);
  explicit WindowAnswerer(std::function<void(HWND)> answerSystemDialog)
      : WindowAnswerer(IsSystemDialog, std::move(answerSystemDialog)) {}
  ~WindowAnswerer();
  WindowAnswerer(const WindowAnswerer&) = delete;
  WindowAnswerer& operator=(const WindowAnswerer&) = delete;
  bool Answered() const { return answered_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

  std::function<bool(HWND)> matches_;
  std::function<void(HWND)> answer_;
  UINT_PTR timer_ = 0;
  bool answered_ = false;
};

}  // namespace vexmar::testing
