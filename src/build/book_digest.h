#pragma once
// The book's digest entry, gathered while the book is written: entries whose
// bytes the build holds are hashed at once, files as the commit streams them
// into the book, so each file is read once and the digest vouches for
// exactly the bytes the book received.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "book/digest_entry.h"
#include "build/resource_updates.h"

namespace vexmar::build {

class BookDigest {
 public:
  BookDigest();
  ~BookDigest();
  BookDigest(const BookDigest&) = delete;
  BookDigest& operator=(const BookDigest&) = delete;

  // An entry whose bytes are in hand. Types and names as the digest writes
  // them ("#2110", "CUSTOM").
  void Add(std::string type, std::string name, std::string_view bytes);
  // An entry whose bytes the returned watcher will see, in order, as they are
  // written. The watcher lives as long as this digest.
  EntryWatcher Watch(std::string type, std::string name);

  // The digest entry's size: the names and the count fix it, the hashes
  // being of one length.
  size_t EntrySize() const;
  // The digest entry, once every watched entry has been written.
  std::string Entry();

 private:
  class Hashing;
  struct Watched {
    size_t entry;   // in entries_
    size_t hasher;  // in hashing_
  };
  std::vector<book::DigestedEntry> entries_;  // in the order added
  std::vector<Watched> watched_;
  std::unique_ptr<Hashing> hashing_;
};

}  // namespace vexmar::build
