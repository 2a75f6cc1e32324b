// The digest gathered while a book is written: pieces of several entries,
// interleaved and more than the hashing thread's queue holds, hash to what
// each entry's bytes hash to whole, in the order the entries were added.
#include "build/book_digest.h"

#include <gtest/gtest.h>

namespace vexmar::build {
namespace {

TEST(BookDigest, HashesInterleavedPiecesOfEveryWatchedEntryInTheOrderAdded) {
  BookDigest digest;
  digest.Add("CUSTOM", "#101", "record");
  std::vector<std::string> files(3);
  std::vector<EntryWatcher> watchers;
  for (size_t f = 0; f < files.size(); ++f) {
    watchers.push_back(digest.Watch("#2110", "F" + std::to_string(f)));
  }
  const size_t sizeBeforeHashing = digest.EntrySize();
  for (int piece = 0; piece < 7; ++piece) {  // 21 MiB in all, five times the queue
    for (size_t f = 0; f < files.size(); ++f) {
      const std::string bytes(1 << 20, static_cast<char>('a' + piece * 3 + static_cast<int>(f)));
      files[f] += bytes;
      watchers[f](bytes);
    }
  }
  const std::string entry = digest.Entry();
  EXPECT_EQ(entry.size(), sizeBeforeHashing);
  EXPECT_EQ(entry, book::WriteDigestEntry({{"CUSTOM", "#101", book::Sha256Of("record")},
                                           {"#2110", "F0", book::Sha256Of(files[0])},
                                           {"#2110", "F1", book::Sha256Of(files[1])},
                                           {"#2110", "F2", book::Sha256Of(files[2])}}));
}

}  // namespace
}  // namespace vexmar::build
