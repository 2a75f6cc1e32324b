#include "viewer/entry_index.h"

#include "book/entry_name.h"
#include "viewer/url_mapping.h"

namespace vexmar::viewer {

void EntryIndex::Add(BookEntry entry) {
  byUpperName_.emplace(book::UpperCaseName(entry.name), entries_.size());
  entries_.push_back(std::move(entry));
}

const BookEntry* EntryIndex::Find(std::string_view name) const {
  const auto found = byUpperName_.find(book::UpperCaseName(name));
  return found == byUpperName_.end() ? nullptr : &entries_[found->second];
}

const BookEntry* EntryIndex::FindForPath(std::string_view path) const {
  for (const std::string& candidate : EntryCandidates(path)) {
    if (const BookEntry* entry = Find(candidate)) {
      return entry;
    }
  }
  return nullptr;
}

}  // namespace vexmar::viewer
