#include "viewer/fallback_folder.h"

#include <gtest/gtest.h>

namespace vexmar::viewer {
namespace {

TEST(FallbackFolders, OnlyOurOwnNamesAreEverSwept) {
  EXPECT_EQ(FallbackFolderOwner(FallbackFolderName(0xFFFFFFFFu, 0)), 0xFFFFFFFFu);
  // Anything that is not exactly "vexmar-book-<pid>-<number>" belongs to
  // someone else and must be left alone.
  for (const char* name :
       {"vexmar-book-", "vexmar-book-12", "vexmar-book-12-", "vexmar-book--3", "vexmar-book-12-3x",
        "vexmar-book-4294967296-1", "vexmar-book-1 2-3", "Vexmar-book-12-3", "my-vexmar-book-12-3",
        "vexmar-books-12-3", "vexmar-book-12-3-4"}) {
    EXPECT_EQ(FallbackFolderOwner(name), std::nullopt) << name;
  }
}

}  // namespace
}  // namespace vexmar::viewer
