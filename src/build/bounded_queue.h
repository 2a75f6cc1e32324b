#pragma once
// Work handed from one thread to the next, first in first out, holding at
// most so many bytes (or one item, if larger) so that a fast producer waits
// for a slow consumer instead of filling memory.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace vexmar::build {

template <typename T>
class BoundedQueue {
 public:
  explicit BoundedQueue(std::size_t maxBytes) : maxBytes_(maxBytes) {}

  // Waits for room.
  void Push(T item, std::size_t bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    room_.wait(lock, [&] { return items_.empty() || bytes_ + bytes <= maxBytes_; });
    bytes_ += bytes;
    items_.emplace_back(std::move(item), bytes);
    lock.unlock();
    work_.notify_one();
  }

  // The next item, waiting for one; none once the queue is closed and empty.
  std::optional<T> Pop() {
    std::unique_lock<std::mutex> lock(mutex_);
    work_.wait(lock, [this] { return !items_.empty() || closed_; });
    if (items_.empty()) return std::nullopt;
    std::optional<T> item(std::move(items_.front().first));
    bytes_ -= items_.front().second;
    items_.pop_front();
    lock.unlock();
    room_.notify_one();
    return item;
  }

  // No more items come: Pop gives the ones queued, then none.
  void Close() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      closed_ = true;
    }
    work_.notify_all();
  }

 private:
  const std::size_t maxBytes_;
  std::mutex mutex_;
  std::condition_variable work_;  // an item or the end has come
  std::condition_variable room_;  // an item has left
  std::deque<std::pair<T, std::size_t>> items_;
  std::size_t bytes_ = 0;
  bool closed_ = false;
};

}  // namespace vexmar::build
