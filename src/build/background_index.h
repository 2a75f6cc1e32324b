#pragma once
// The search index of a book's pages, built on a thread of its own while
// the build reads, decodes and titles the pages that follow: the two halves
// of the work take about as long, and a machine has a core for each.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "book/search_index.h"

namespace vexmar::build {

class BackgroundIndex {
 public:
  // At most `maxQueuedBytes` of text waits for the index (or one page, if
  // larger), so the memory held stays a few pages whatever the book.
  explicit BackgroundIndex(std::size_t maxQueuedBytes = 4 * 1024 * 1024);
  ~BackgroundIndex();
  BackgroundIndex(const BackgroundIndex&) = delete;
  BackgroundIndex& operator=(const BackgroundIndex&) = delete;

  // Pages are indexed in the order they are added, as a SearchIndexWriter
  // given them one by one would: the entry's bytes never depend on timing.
  // Waits while the queue is full.
  void AddPage(std::string name, std::string text);
  // The entry's bytes, once every page added is in.
  std::string Finish();

 private:
  struct Page {
    std::string name;
    std::string text;
  };
  void Work();
  void Stop();

  const std::size_t maxQueuedBytes_;
  book::SearchIndexWriter writer_;  // the worker's alone until it is stopped
  std::mutex mutex_;
  std::condition_variable work_;  // a page or the end has come
  std::condition_variable room_;  // the queue has room again
  std::deque<Page> queue_;
  std::size_t queuedBytes_ = 0;
  bool closed_ = false;
  std::thread worker_;  // none when the system would not start one: pages are indexed as added
};

}  // namespace vexmar::build
