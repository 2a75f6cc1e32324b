#pragma once
// The search index of a book's pages, built beside the reading: while the
// build reads, decodes and titles a page, one thread gathers the terms of
// the pages before it and another adds those to the index. The three take
// about as long each, and the work overlaps on a machine of two cores.
#include <cstddef>
#include <string>
#include <thread>

#include "book/search_index.h"
#include "build/bounded_queue.h"

namespace vexmar::build {

class BackgroundIndex {
 public:
  // At most `maxQueuedBytes` of text (or one page, if larger) waits in each
  // queue, so the memory held stays a few pages whatever the book.
  explicit BackgroundIndex(std::size_t maxQueuedBytes = 1024 * 1024);
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
  struct GatheredPage {
    std::string name;
    book::PageTerms terms;
  };
  void Gather();
  void Write();
  void Stop();

  book::SearchIndexWriter writer_;  // the writing thread's alone while it runs
  BoundedQueue<Page> pages_;
  BoundedQueue<GatheredPage> gathered_;
  std::thread gathering_;
  std::thread writing_;
  bool threaded_ =
      false;  // else, when the system would not start a thread, pages are indexed as added
};

}  // namespace vexmar::build
