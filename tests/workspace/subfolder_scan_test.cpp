// The files of a project's sub-folders, for `vexmar-ebc new --recursive`.
#include "workspace/subfolder_scan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_file_system.h"
#include "support/temp_folder.h"

namespace vexmar::workspace {
namespace {

using Names = std::vector<std::string>;

// Files in each folder's listing order, sub-folders by name with letter
// case aside whatever order the disk gives them, depth first; "\" between
// the parts on every platform.
TEST(SubfolderScan, ListsFilesBeforeSubFoldersAndFoldersByName) {
  testing::FakeFileSystem files;
  const char s = fs::PathSeparator();
  const std::string top = std::string("P") + s;
  files.subfolders[top] = {"zoo", "Images", "css"};
  files.subfolders[top + "Images" + s] = {"icons"};
  files.listings[top + "Images" + s] = {{"b.gif", "a.png", "notes.doc"}};
  files.listings[top + "Images" + s + "icons" + s] = {{"x.gif"}};
  files.listings[top + "css" + s] = {{"site.css"}};  // qualifies for no book
  files.listings[top + "zoo" + s] = {{"lion.jpg"}};
  const auto entries = ListSubfolderEntries(files, top, 100);
  ASSERT_TRUE(entries.ok());
  EXPECT_EQ(entries.value(),
            (Names{"Images\\b.gif", "Images\\a.png", "Images\\icons\\x.gif", "zoo\\lion.jpg"}));

  // One entry past the room left in the list is refused, not cut short.
  EXPECT_TRUE(ListSubfolderEntries(files, top, 4).ok());
  EXPECT_FALSE(ListSubfolderEntries(files, top, 3).ok());
}

TEST(SubfolderScan, HoldsAtMostTheListsRoom) {
  testing::FakeFileSystem files;
  const std::string top = std::string("P") + fs::PathSeparator();
  files.subfolders[top] = {"big"};
  auto& names = files.listings[top + "big" + fs::PathSeparator()].names;
  for (int i = 0; i < 32768; ++i) names.push_back(std::to_string(i) + ".htm");
  EXPECT_EQ(ListSubfolderEntries(files, top, 32768).value().size(), 32768u);
  const auto over = ListSubfolderEntries(files, top, 32767);
  ASSERT_FALSE(over.ok());
  EXPECT_EQ(over.error().reason, "more than 32767 files in its sub-folders");
}

// On the machine's own disk (Linux natively, Windows under Wine): hidden
// folders and links to folders are not entered.
TEST(SubfolderScan, SkipsHiddenFoldersAndLinksToFolders) {
  testing::TempFolder dir, away;
  dir.Write("index.htm");  // the top folder's own files are the window's scan
  dir.Write("images/logo.gif");
  dir.Write("images/deep/er/photo.jpg");
  dir.MakeHiddenFolder("secret", "page.htm");
  away.Write("outside.htm");
  std::error_code noLinks;  // Windows without the right to make links
  std::filesystem::create_directory_symlink(std::filesystem::u8path(away.Path()),
                                            std::filesystem::u8path(dir.Path() + "link"), noLinks);
  std::filesystem::create_directory_symlink(std::filesystem::u8path(dir.Path()),
                                            std::filesystem::u8path(dir.Path() + "images/loop"),
                                            noLinks);
  const auto entries = ListSubfolderEntries(fs::RealFileSystem(), dir.Path(), 100);
  ASSERT_TRUE(entries.ok());
  EXPECT_EQ(entries.value(), (Names{"images\\logo.gif", "images\\deep\\er\\photo.jpg"}));
}

}  // namespace
}  // namespace vexmar::workspace
