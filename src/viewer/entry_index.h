#pragma once
// The file entries of a book, looked up the way the resource loader does:
// by name, whatever the letter case.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vexmar::viewer {

struct BookEntry {
  std::string name;  // as stored, UTF-8
  const uint8_t* data = nullptr;
  size_t size = 0;
};

class EntryIndex {
 public:
  // Entries keep the order they are added in. Of two names that differ only
  // in letter case, lookups find the first.
  void Add(BookEntry entry);

  const std::vector<BookEntry>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }

  const BookEntry* Find(std::string_view name) const;
  // The entry a page path asks for (see EntryCandidates).
  const BookEntry* FindForPath(std::string_view path) const;

 private:
  std::vector<BookEntry> entries_;
  std::map<std::string, size_t, std::less<>> byUpperName_;
};

}  // namespace vexmar::viewer
