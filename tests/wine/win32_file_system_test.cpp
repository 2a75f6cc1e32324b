// Windows' own file system under the real window: the folder scan, with the
// attributes only Windows has (system and hidden files set with
// SetFileAttributesW, read-only and archived files), sub-folders, and names
// beyond ASCII. The portable cases run in tests/workspace on every platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "wine/win32_host.h"
#include "workspace/frm_main.h"

namespace vexmar::workspace {
namespace {

using testing::Wide;
using Names = std::vector<std::string>;

const char kE[] = "\xC3\xA9t\xC3\xA9.htm";                // été.htm
const char kJapanese[] = "\xE6\x97\xA5\xE6\x9C\xAC.txt";  // 日本.txt
const char kEmoji[] = "\xF0\x9F\x98\x80.png";             // 😀.png

// A folder of files with every kind of attribute; the attributes are cleared
// at the end so the folder can be removed (a read-only file cannot be).
class MixedFolder : public testing::TempFolder {
 public:
  MixedFolder() {
    const std::pair<const char*, DWORD> files[] = {
        {"index.htm", 0},
        {"readonly.htm", FILE_ATTRIBUTE_READONLY},
        {"archived.txt", FILE_ATTRIBUTE_ARCHIVE},
        {"system.htm", FILE_ATTRIBUTE_SYSTEM},
        {"hidden.gif", FILE_ATTRIBUTE_HIDDEN},
        {"both.jpg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {kE, 0},
        {kJapanese, 0},
        {kEmoji, 0},
        {"style.css", 0},
        {"chapter.htm\\inner.htm", 0}};
    for (const auto& [name, attributes] : files) {
      marked_.push_back(Wide(Write(name)));
      if (attributes != 0) {
        EXPECT_TRUE(SetFileAttributesW(marked_.back().c_str(), attributes)) << name;
      }
    }
  }
  ~MixedFolder() {
    for (const std::wstring& path : marked_)
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }

 private:
  std::vector<std::wstring> marked_;
};

// The wanted names in the order Windows' own listing returns them.
Names WindowsOrder(const std::string& folder, const Names& wanted) {
  Names names;
  WIN32_FIND_DATAW data{};
  const HANDLE find = FindFirstFileW(Wide(folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(data.cFileName));
    if (std::find(wanted.begin(), wanted.end(), name) != wanted.end()) names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

TEST(Win32FolderScan, ListsReadOnlyArchivedAndNonAsciiFilesButNoSystemHiddenOrFolders) {
  MixedFolder folder;
  testing::Win32Host host;
  FrmMain w(host.host);
  host.modal.folders = {folder.Path().substr(0, folder.Path().size() - 1)};
  w.cmdopen.Click();

  // Windows' own order, and nothing but these.
  Names listed;
  for (int i = 0; i < w.lstFiles.Count(); ++i) listed.push_back(w.lstFiles.Entry(i));
  EXPECT_EQ(listed, WindowsOrder(folder.Path(), {"index.htm", "readonly.htm", "archived.txt", kE,
                                                 kJapanese, kEmoji}));
  EXPECT_EQ(w.txtpath.Text(), folder.Path());
}

}  // namespace
}  // namespace vexmar::workspace
