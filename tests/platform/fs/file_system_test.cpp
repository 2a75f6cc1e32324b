// The real file system's whole-file reads and safe replacement.
#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_folder.h"

namespace vexmar::fs {
namespace {

namespace stdfs = std::filesystem;
using Names = std::vector<std::string>;

// What the folder holds: a replacement must leave no temporary file behind.
Names NamesIn(const testing::TempFolder& dir) {
  Names names;
  for (const auto& entry : stdfs::directory_iterator(stdfs::u8path(dir.Path()))) {
    names.push_back(entry.path().filename().u8string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WholeFiles, AreReadByteForByteAndReplacedWholeReadableByAll) {
  testing::TempFolder dir;
  const std::string bytes("a\0b\r\n\xFF", 6), path = dir.Path() + "Café settings.ebc";
  ASSERT_TRUE(RealFileSystem().WriteWholeFile(path, "first, longer").ok());
  ASSERT_TRUE(RealFileSystem().WriteWholeFile(path, bytes).ok());
  ASSERT_TRUE(RealFileSystem().WriteWholeFile(dir.Path() + "empty", "").ok());
  EXPECT_EQ(dir.Read("Café settings.ebc"), bytes);  // no line end doubled on any platform
  EXPECT_EQ(RealFileSystem().ReadWholeFile(path).value(), bytes);
  EXPECT_EQ(RealFileSystem().ReadWholeFile(dir.Path() + "empty").value(), "");
  const auto perms = stdfs::status(stdfs::u8path(path)).permissions();
  EXPECT_NE(perms & stdfs::perms::others_read, stdfs::perms::none);  // not private
  EXPECT_EQ(NamesIn(dir), (Names{"Café settings.ebc", "empty"}));
  const Result<std::string> missing = RealFileSystem().ReadWholeFile(dir.Path() + "none.txt");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().reason, "the file or its folder does not exist");
  EXPECT_FALSE(RealFileSystem().ReadWholeFile(dir.MakeFolder("sub")).ok());
}

TEST(WriteWholeFile, RefusesWhatItMustNotReplaceAndKeepsTheOldContent) {
  testing::TempFolder dir;
  const stdfs::path locked = stdfs::u8path(dir.Write("locked.ebc", "precious"));
  const auto write =
      stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write;
  stdfs::permissions(locked, write, stdfs::perm_options::remove);
  const std::pair<std::string, const char*> cases[] = {
      {locked.u8string(), "the file is read-only"},
      {dir.MakeFolder("sub"), "it is a folder"},
      {dir.Path() + "gone/x.ebc", "the file or its folder does not exist"},
  };
  for (const auto& [path, reason] : cases) {
    const Status written = RealFileSystem().WriteWholeFile(path, "new");
    ASSERT_FALSE(written.ok()) << path;
    EXPECT_EQ(written.error().reason, reason);
  }
  // A finished book is renamed into place: a read-only earlier one stays, as on Windows.
  const std::string fresh = dir.Write("fresh.partial", "new book");
  EXPECT_FALSE(RealFileSystem().Rename(fresh, locked.u8string()).ok());
  stdfs::permissions(locked, stdfs::perms::owner_write, stdfs::perm_options::add);
  EXPECT_EQ(dir.Read("locked.ebc"), "precious");
  EXPECT_EQ(NamesIn(dir), (Names{"fresh.partial", "locked.ebc", "sub"}));
  EXPECT_TRUE(RealFileSystem().Rename(fresh, locked.u8string()).ok());
  EXPECT_EQ(dir.Read("locked.ebc"), "new book");
}

// Content in pieces, as extract copies a book's file; it may fail half-way.
class Pieces final : public ContentSource {
 public:
  explicit Pieces(Names pieces) : pieces_(std::move(pieces)) {}
  Result<std::string_view> Next() override {
    if (next_ == pieces_.size()) return std::string_view();
    if (pieces_[next_] == "FAIL") return Fail("the book could not be read");
    return std::string_view(pieces_[next_++]);
  }

 private:
  Names pieces_;
  size_t next_ = 0;
};

TEST(WriteFileFrom, JoinsThePiecesOrKeepsTheOldFileWhenTheyFail) {
  testing::TempFolder dir;
  const std::string path = dir.Write("PAGE.HTM", "old");
  Pieces failing({"<p>", "FAIL"});
  const Status written = RealFileSystem().WriteFileFrom(path, failing);
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().reason, "the book could not be read");
  EXPECT_EQ(dir.Read("PAGE.HTM"), "old");
  EXPECT_EQ(NamesIn(dir), Names{"PAGE.HTM"});
  Pieces pieces({"<p>", std::string(100000, 'x'), "</p>"});
  ASSERT_TRUE(RealFileSystem().WriteFileFrom(path, pieces).ok());
  EXPECT_EQ(dir.Read("PAGE.HTM"), "<p>" + std::string(100000, 'x') + "</p>");
}

}  // namespace
}  // namespace vexmar::fs
