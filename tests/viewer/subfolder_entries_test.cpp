// Files of sub-folders in a book: stored as IMAGES\LOGO.GIF, served for
// ebook://book/images/logo.gif, and extracted into sub-folders only when
// every part of the name stays inside the target folder.
#include <gtest/gtest.h>

#include "book/entry_name.h"
#include "viewer/entry_index.h"
#include "viewer/latin1_decoder.h"
#include "viewer/url_mapping.h"

namespace vexmar::viewer {
namespace {

TEST(SubfolderEntries, PathsFindTheEntryOfTheirFolderThenTheBareName) {
  const uint8_t byte = 0;
  EntryIndex index;
  for (const char* name : {"IMAGES\\LOGO.GIF", "LOGO.GIF", "PHOTO.JPG", "A\\B\\C.HTM"}) {
    index.Add({name, &byte, 1});
  }
  const std::pair<const char*, const char*> cases[] = {
      {"ebook://book/images/logo.gif", "IMAGES\\LOGO.GIF"},
      {"ebook://book/Images\\Logo.gif", "IMAGES\\LOGO.GIF"},
      {"ebook://book/pages/../images/logo.gif", "IMAGES\\LOGO.GIF"},
      {"ebook://book/logo.gif", "LOGO.GIF"},
      {"ebook://book/a/b/c.htm", "A\\B\\C.HTM"},
      {"ebook://book/images/photo.jpg", "PHOTO.JPG"},  // a book of bare names
      {"ebook://book/other/c.htm", ""},
  };
  for (const auto& [url, name] : cases) {
    const auto path = BookPathFromUrl(url, testing::Latin1ToUtf8);
    ASSERT_TRUE(path.has_value()) << url;
    const BookEntry* entry = index.FindForPath(*path);
    EXPECT_EQ(entry != nullptr ? entry->name : "", name) << url;
  }
}

TEST(SubfolderEntries, EveryPartOfANameIsCheckedAsABareName) {
  for (const char* name : {"IMAGES\\LOGO.GIF", "A\\B\\C.HTM", "\xC3\x9C\\A..B.TXT", "PAGE.HTM"}) {
    EXPECT_EQ(book::UnsafeEntryPathReason(name), std::nullopt) << name;
  }
  const std::pair<const char*, const char*> refused[] = {
      {"..\\EVIL.EXE", "its part \"..\" names a folder"},
      {"IMAGES\\..\\..\\EVIL.EXE", "its part \"..\" names a folder"},
      {"\\WINDOWS\\EVIL.DLL", "empty part"},
      {"\\\\SERVER\\SHARE\\X.HTM", "empty part"},
      {"IMAGES\\", "empty part"},
      {"A\\\\B.HTM", "empty part"},
      {"C:\\EVIL.EXE", "its part \"C:\" contains a drive"},
      {"IMAGES/LOGO.GIF", "folder separator"},
      {"IMAGES\\CON\\X.HTM", "its part \"CON\" is the name of a device"},
      {"DIR.\\X.HTM", "ends with a dot"},
  };
  for (const auto& [name, reason] : refused) {
    const auto found = book::UnsafeEntryPathReason(name);
    ASSERT_TRUE(found.has_value()) << name;
    EXPECT_NE(found->find(reason), std::string::npos) << name << ": " << *found;
  }
  // A file named like a folder that others go into cannot be made beside it,
  // and letter case alone makes no second file.
  const std::vector<book::ExtractStep> plan = book::PlanExtraction(
      {"IMAGES\\LOGO.GIF", "images", "Images\\logo.gif", "IMAGES\\ICONS\\A.GIF", "images\\icons"});
  EXPECT_EQ(plan[0].refusal + plan[3].refusal, "");
  EXPECT_NE(plan[1].refusal.find("folder that other entries are in"), std::string::npos);
  EXPECT_NE(plan[2].refusal.find("letter case"), std::string::npos);
  EXPECT_NE(plan[4].refusal.find("folder that other entries are in"), std::string::npos);
}

}  // namespace
}  // namespace vexmar::viewer
