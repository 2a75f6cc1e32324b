// A book whose files keep their sub-folders, shown as a reader starts it
// with MSHTML off: the fallback folder holds IMAGES\LOGO.GIF, so the page's
// images/logo.gif is found in the default browser too, and the whole folder
// is gone once the viewer closes. (/fetch and /extract of such a book, made
// by vexmar-ebc.exe --recursive, are tests/wine/subfolder_e2e.sh.)
#include <gtest/gtest.h>

#include <filesystem>

#include "viewer/book_maker_win32.h"

namespace vexmar::viewer::testing {
namespace {

namespace fs = std::filesystem;

TEST(SubfolderBookUnderWine, TheFallbackFolderKeepsTheSubFoldersAndGoesAway) {
  const std::wstring folder = TempPath() + L"vexmar-viewer-test-subfolders\\";
  fs::create_directories(folder);
  const std::wstring book = folder + L"Site.exe";
  const std::string record = "Site:A:index.htm:3/14/2026:::blank:blank:blank";
  const std::string page = "<img src=\"images/logo.gif\">";
  ASSERT_EQ(MakeBook(book, &record,
                     {{L"index.htm", page},
                      {L"images\\logo.gif", "GIF89a"},
                      {L"images\\icons\\leaf.png", "PNG"}},
                     kRecordingStub),
            "");
  RunResult shown = RunViewer(book, L"", folder);
  EXPECT_EQ(shown.exit_code, 0u);
  ASSERT_EQ(shown.log["open"].size(), 1u) << shown.out;
  const fs::path extracted = fs::u8path(shown.log["open"].front()).parent_path();
  EXPECT_EQ(shown.log["file"],
            std::vector<std::string>{"INDEX.HTM\t" + std::to_string(page.size())});
  EXPECT_EQ(shown.log["folder"], std::vector<std::string>{"IMAGES"});
  EXPECT_FALSE(fs::exists(extracted)) << extracted.u8string();
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vexmar::viewer::testing
