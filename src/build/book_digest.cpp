#include "build/book_digest.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace vexmar::build {

// Hashes the watched entries on a second thread while the commit reads and
// writes on the first, so the digest costs a copy of the bytes rather than
// their hashing. A copy of each piece waits in a queue of bounded size;
// where no thread can be started, the pieces are hashed as they come.
class BookDigest::Hashing {
 public:
  Hashing() {
    try {
      worker_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      // Hashed on the caller's thread instead; the digest is the same.
    }
  }
  ~Hashing() { Stop(); }

  // A new entry's hasher; its number is what Feed takes.
  size_t Start() {
    const std::lock_guard<std::mutex> lock(mutex_);
    hashers_.emplace_back();
    return hashers_.size() - 1;
  }

  void Feed(size_t index, std::string_view piece) {
    if (!worker_.joinable()) {
      hashers_[index].Update(piece);
      return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    roomFreed_.wait(lock, [&] { return queued_ == 0 || queued_ + piece.size() <= kMaxQueued; });
    std::string copy;
    if (!spare_.empty()) {
      copy = std::move(spare_.back());
      spare_.pop_back();
    }
    copy.assign(piece.data(), piece.size());
    queue_.push_back({index, std::move(copy)});
    queued_ += piece.size();
    work_.notify_one();
  }

  // Every entry's digest, in the order started, once the queue is drained.
  std::vector<book::Sha256Digest> Finish() {
    Stop();
    std::vector<book::Sha256Digest> digests;
    for (book::Sha256& hasher : hashers_) digests.push_back(hasher.Finish());
    return digests;
  }

 private:
  static constexpr size_t kMaxQueued = 4 << 20;

  struct Piece {
    size_t index;
    std::string bytes;
  };

  void Run() {
    for (;;) {
      Piece piece;
      book::Sha256* hasher = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        work_.wait(lock, [&] { return !queue_.empty() || stopping_; });
        if (queue_.empty()) return;
        piece = std::move(queue_.front());
        queue_.pop_front();
        hasher = &hashers_[piece.index];
      }
      hasher->Update(piece.bytes);
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        queued_ -= piece.bytes.size();
        spare_.push_back(std::move(piece.bytes));
      }
      roomFreed_.notify_one();
    }
  }

  void Stop() {
    if (!worker_.joinable()) return;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    work_.notify_one();
    worker_.join();
  }

  std::mutex mutex_;
  std::condition_variable work_, roomFreed_;
  std::deque<Piece> queue_;
  size_t queued_ = 0;  // bytes waiting in the queue
  // Copies already hashed, kept for the next pieces: memory freed and taken
  // again for every piece would be handed back to the system and faulted in
  // anew each time.
  std::vector<std::string> spare_;
  bool stopping_ = false;
  std::deque<book::Sha256> hashers_;  // a deque: growing it moves no hasher
  std::thread worker_;
};

BookDigest::BookDigest() : hashing_(std::make_unique<Hashing>()) {}
BookDigest::~BookDigest() = default;

void BookDigest::Add(std::string type, std::string name, std::string_view bytes) {
  entries_.push_back({std::move(type), std::move(name), book::Sha256Of(bytes)});
}

EntryWatcher BookDigest::Watch(std::string type, std::string name) {
  entries_.push_back({std::move(type), std::move(name), {}});
  watched_.push_back({entries_.size() - 1, hashing_->Start()});
  Hashing* hashing = hashing_.get();
  const size_t hasher = watched_.back().hasher;
  return [hashing, hasher](std::string_view piece) { hashing->Feed(hasher, piece); };
}

size_t BookDigest::EntrySize() const {
  return book::WriteDigestEntry(entries_).size();
}

std::string BookDigest::Entry() {
  const std::vector<book::Sha256Digest> digests = hashing_->Finish();
  for (const Watched& watched : watched_) entries_[watched.entry].sha256 = digests[watched.hasher];
  return book::WriteDigestEntry(entries_);
}

}  // namespace vexmar::build
