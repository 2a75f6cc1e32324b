#pragma once
// Builds the full-text index of a book made without one on a thread of its
// own, so the window answers while a large book is read. The window is told
// by a message when the index is ready.
#include <windows.h>

#include <atomic>
#include <string>

#include "viewer/reader_book.h"

namespace vexmar::viewer {

class SearchWorker {
 public:
  SearchWorker() = default;
  ~SearchWorker();  // stops the thread and waits for it
  SearchWorker(const SearchWorker&) = delete;
  SearchWorker& operator=(const SearchWorker&) = delete;

  // `contents` and the pages' bytes must stay as they are until the worker
  // is done. Posts `done` to `window` when the index is ready; false when
  // no thread could be started.
  bool Start(const ReaderContents& contents, HWND window, UINT done);
  bool done() const { return thread_ != nullptr && finished_.load(); }
  // The index, once `done` has arrived.
  const std::string& entry() const { return entry_; }

 private:
  static DWORD WINAPI Main(void* self);

  const ReaderContents* contents_ = nullptr;
  HWND window_ = nullptr;
  UINT done_ = 0;
  HANDLE thread_ = nullptr;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::string entry_;
};

}  // namespace vexmar::viewer
