// Files of sub-folders in a book: stored as IMAGES\LOGO.GIF, served for
// ebook://book/images/logo.gif, extracted when every part of the name stays
// inside the target folder.
#include <gtest/gtest.h>

#include "book/entry_name.h"
#include "viewer/entry_index.h"
#include "viewer/latin1_decoder.h"
#include "viewer/url_mapping.h"

namespace vexmar::viewer {
namespace {

TEST(SubfolderEntries, UrlsFindTheEntryOfTheirFolderThenTheBareName) {
  const uint8_t byte = 0;
  EntryIndex index;
  for (const char* name : {"IMAGES\\LOGO.GIF", "LOGO.GIF", "PHOTO.JPG"})
    index.Add({name, &byte, 1});
  for (const auto& [url, name] :
       {std::pair{"ebook://book/Images/../images\\Logo.gif", "IMAGES\\LOGO.GIF"},
        {"ebook://book/logo.gif", "LOGO.GIF"},
        {"ebook://book/images/photo.jpg", "PHOTO.JPG"},  // bare names
        {"ebook://book/images/x/photo.gif", ""}}) {
    const BookEntry* entry = index.FindForPath(*BookPathFromUrl(url, testing::Latin1ToUtf8));
    EXPECT_EQ(entry != nullptr ? entry->name : "", name) << url;
  }
}

TEST(SubfolderEntries, EveryPartIsABareNameAndNoFileTakesAFoldersName) {
  EXPECT_EQ(book::UnsafeEntryPathReason("A\\B\\C.HTM"), std::nullopt);
  for (const auto& [name, reason] :
       {std::pair{"A\\..\\..\\X.EXE", "its part \"..\" names a folder"},
        {"\\\\SERVER\\SHARE\\X.HTM", "empty part"},
        {"C:\\X.EXE", "its part \"C:\" contains a drive"},
        {"IMAGES/LOGO.GIF", "folder separator"},
        {"A\\CON\\X.HTM", "its part \"CON\" is the name of a device"}}) {
    EXPECT_NE(book::UnsafeEntryPathReason(name).value_or("").find(reason), std::string::npos)
        << name;
  }
  const std::vector<book::ExtractStep> plan =
      book::PlanExtraction({"IMAGES\\LOGO.GIF", "images", "Images\\logo.gif"});
  EXPECT_EQ(plan[0].refusal + plan[1].refusal + "|" + plan[2].refusal,
            "it is the name of a folder that other entries are in|another entry has the same name "
            "apart from letter case");
}

}  // namespace
}  // namespace vexmar::viewer
