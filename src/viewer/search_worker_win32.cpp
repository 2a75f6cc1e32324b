#include "viewer/search_worker_win32.h"

#include "viewer/win32_text.h"

namespace vexmar::viewer {

SearchWorker::~SearchWorker() {
  if (thread_ != nullptr) {
    cancel_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
}

bool SearchWorker::Start(const ReaderContents& contents, HWND window, UINT done) {
  if (thread_ != nullptr) return true;
  contents_ = &contents;
  window_ = window;
  done_ = done;
  thread_ = CreateThread(nullptr, 0, Main, this, 0, nullptr);
  return thread_ != nullptr;
}

DWORD WINAPI SearchWorker::Main(void* self) {
  auto& worker = *static_cast<SearchWorker*>(self);
  // A reader who opens the book and searches at once wants the window to
  // keep answering more than an early index.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  worker.entry_ = BuildSearchEntry(*worker.contents_, AnsiToUtf8, &worker.cancel_);
  worker.finished_ = true;
  if (!worker.cancel_) PostMessageW(worker.window_, worker.done_, 0, 0);
  return 0;
}

}  // namespace vexmar::viewer
