// The real file system's whole-file reads and safe replacement.
#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/fs/temporary_file.h"
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

// A process number no running process has (beyond any system's limit).
constexpr std::uint32_t kGone = 0x7ffffff0;

TEST(TemporaryNames, AreKeyedByTheTargetsNameAsWindowsComparesIt) {
  const std::string name = TemporaryName("/books/Garden.exe", 0x1234, 0xabcdef01);
  std::uint32_t process = 0;
  EXPECT_TRUE(IsTemporaryOf("GARDEN.EXE", name, &process));
  EXPECT_FALSE(IsTemporaryOf("Garden.ebc", name, &process));
  // What a build makes on its way to a book carries the book's key.
  EXPECT_TRUE(IsTemporaryOf("Garden.exe", TemporaryName("/books/" + name, 1, 2), &process));
}

// Stale temporary files of the target (a process that is gone) are removed
// by its next write; those of running processes and of other targets stay.
TEST(TemporaryFiles, TheNextWriteRemovesWhatKilledProcessesLeft) {
  testing::TempFolder dir;
  const std::string target = dir.Path() + "index.htm";
  const Names kept = {TemporaryName(target, testing::ThisProcessForTest(), 1),
                      TemporaryName(dir.Path() + "other.htm", kGone, 1)};
  for (const std::string& name : kept) dir.Write(name, "kept");
  dir.Write(TemporaryName(target, kGone, 7), std::string(1000, 'x'));
  ASSERT_TRUE(RealFileSystem().WriteWholeFile(target, "page").ok());
  Names expected = kept;
  expected.push_back("index.htm");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(NamesIn(dir), expected);
}

}  // namespace
}  // namespace vexmar::fs
