// The real file system's whole-file reads and safe replacement.
#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_folder.h"

namespace vexmar::fs {
namespace {

namespace stdfs = std::filesystem;
using testing::TempFolder;

std::vector<std::string> NamesIn(const TempFolder& dir) {
  std::vector<std::string> names;
  for (const auto& entry : stdfs::directory_iterator(stdfs::u8path(dir.Path()))) {
    names.push_back(entry.path().filename().u8string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReadWholeFile, ReadsEveryByteOrSaysWhyNot) {
  TempFolder dir;
  const std::string bytes("a\0b\r\n\xFF", 6);
  const Result<std::string> read = RealFileSystem().ReadWholeFile(dir.Write("data.bin", bytes));
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.value(), bytes);
  EXPECT_EQ(RealFileSystem().ReadWholeFile(dir.Write("empty.txt", "")).value(), "");

  const Result<std::string> missing = RealFileSystem().ReadWholeFile(dir.Path() + "none.txt");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().reason, "the file or its folder does not exist");
  EXPECT_FALSE(RealFileSystem().ReadWholeFile(dir.MakeFolder("sub")).ok());
}

TEST(WriteWholeFile, WritesWholeFilesAndLeavesNoTemporaryBehind) {
  TempFolder dir;
  const std::string path = dir.Path() + "Café settings.ebc";
  ASSERT_TRUE(RealFileSystem().WriteWholeFile(path, "first").ok());
  ASSERT_TRUE(RealFileSystem().WriteWholeFile(path, "second, longer").ok());
  ASSERT_TRUE(RealFileSystem().WriteWholeFile(dir.Path() + "empty", "").ok());
  EXPECT_EQ(dir.Read("Café settings.ebc"), "second, longer");
  // A new file is as readable as any the author makes, not private.
  const auto perms = stdfs::status(stdfs::u8path(path)).permissions();
  EXPECT_NE(perms & stdfs::perms::others_read, stdfs::perms::none);
  EXPECT_EQ(NamesIn(dir), (std::vector<std::string>{"Café settings.ebc", "empty"}));
}

TEST(WriteWholeFile, RefusesWhatItMustNotReplaceAndKeepsTheOldContent) {
  TempFolder dir;
  const std::string locked = dir.Write("locked.ebc", "precious");
  stdfs::permissions(
      stdfs::u8path(locked),
      stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
      stdfs::perm_options::remove);
  const Status readOnly = RealFileSystem().WriteWholeFile(locked, "new");
  stdfs::permissions(stdfs::u8path(locked), stdfs::perms::owner_write, stdfs::perm_options::add);
  ASSERT_FALSE(readOnly.ok());
  EXPECT_EQ(readOnly.error().reason, "the file is read-only");
  EXPECT_EQ(dir.Read("locked.ebc"), "precious");

  const Status folder = RealFileSystem().WriteWholeFile(dir.MakeFolder("sub"), "x");
  ASSERT_FALSE(folder.ok());
  EXPECT_EQ(folder.error().reason, "it is a folder");

  const Status nowhere = RealFileSystem().WriteWholeFile(dir.Path() + "gone/x.ebc", "x");
  ASSERT_FALSE(nowhere.ok());
  EXPECT_EQ(nowhere.error().reason, "the file or its folder does not exist");
  EXPECT_EQ(NamesIn(dir), (std::vector<std::string>{"locked.ebc", "sub"}));
}

}  // namespace
}  // namespace vexmar::fs
