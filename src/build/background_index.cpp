#include "build/background_index.h"

#include <system_error>
#include <utility>

namespace vexmar::build {

BackgroundIndex::BackgroundIndex(std::size_t maxQueuedBytes) : maxQueuedBytes_(maxQueuedBytes) {
  try {
    worker_ = std::thread([this] { Work(); });
  } catch (const std::system_error&) {
    // Out of threads: the same index, built on the caller's thread.
  }
}

BackgroundIndex::~BackgroundIndex() {
  Stop();
}

void BackgroundIndex::AddPage(std::string name, std::string text) {
  if (!worker_.joinable()) {
    writer_.AddPage(name, text);
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  room_.wait(lock, [&] { return queue_.empty() || queuedBytes_ + text.size() <= maxQueuedBytes_; });
  queuedBytes_ += text.size();
  queue_.push_back({std::move(name), std::move(text)});
  lock.unlock();
  work_.notify_one();
}

std::string BackgroundIndex::Finish() {
  Stop();
  return writer_.Finish();
}

void BackgroundIndex::Work() {
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex_);
    work_.wait(lock, [this] { return !queue_.empty() || closed_; });
    if (queue_.empty()) return;
    Page page = std::move(queue_.front());
    queue_.pop_front();
    queuedBytes_ -= page.text.size();
    lock.unlock();
    room_.notify_one();
    writer_.AddPage(page.name, page.text);
  }
}

// The worker indexes what is queued, then ends.
void BackgroundIndex::Stop() {
  if (!worker_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
  }
  work_.notify_one();
  worker_.join();
}

}  // namespace vexmar::build
