// The files of a project's sub-folders, for `vexmar-ebc new --recursive`.
#include "workspace/subfolder_scan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_file_system.h"
#include "support/temp_folder.h"

namespace vexmar::workspace {
namespace {

using Names = std::vector<std::string>;

// Each folder's files in listing order, then its sub-folders by name with
// letter case aside, depth first; "\" between the parts on every platform.
TEST(SubfolderScan, FilesBeforeSubFoldersFoldersByNameAndNoMoreThanTheRoom) {
  testing::FakeFileSystem files;
  const std::string s(1, fs::PathSeparator()), top = "P" + s;
  files.subfolders = {{top, {"zoo", "Images", "css"}}, {top + "Images" + s, {"icons"}}};
  files.listings[top + "Images" + s] = {{"b.gif", "a.png", "notes.doc"}};
  files.listings[top + "Images" + s + "icons" + s] = {{"x.gif"}};
  for (int i = 0; i < 32764; ++i) files.listings[top + "zoo" + s].names.push_back("a.jpg");
  const auto entries = ListSubfolderEntries(files, top, 32767);  // a list's whole room
  ASSERT_EQ(entries.value().size(), 32767u);
  EXPECT_EQ(Names(entries.value().begin(), entries.value().begin() + 4),
            (Names{"Images\\b.gif", "Images\\a.png", "Images\\icons\\x.gif", "zoo\\a.jpg"}));
  EXPECT_EQ(ListSubfolderEntries(files, top, 32766).error().reason,
            "more than 32766 files in its sub-folders");  // one past the room: none
}

// On the machine's own disk (Linux, and Windows under Wine, which hides
// names starting with a dot as Linux does).
TEST(SubfolderScan, EntersNoHiddenFolderAndNoLinkToAFolder) {
  testing::TempFolder dir;
  dir.Write("images/logo.gif");
  dir.Write("images/deep/er/photo.jpg");
  dir.Write(".secret/page.htm");
  std::error_code noLinks;  // Windows without the right to make links
  std::filesystem::create_directory_symlink(std::filesystem::u8path(dir.Path()),
                                            std::filesystem::u8path(dir.Path() + "images/loop"),
                                            noLinks);
  EXPECT_EQ(ListSubfolderEntries(fs::RealFileSystem(), dir.Path(), 9).value(),
            (Names{"images\\logo.gif", "images\\deep\\er\\photo.jpg"}));
}

}  // namespace
}  // namespace vexmar::workspace
