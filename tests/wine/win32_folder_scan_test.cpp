// The folder scan on Wine's file system, with the attributes only Windows
// has: system and hidden files set with SetFileAttributesW, read-only and
// archived files, sub-folders, and names beyond ASCII, on the real window.
// The portable cases run in tests/workspace on every platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text/text.h"
#include "support/temp_folder.h"
#include "wine/win32_host.h"
#include "workspace/frm_main.h"
#include "workspace/mod_main.h"

namespace vexmar::workspace {
namespace {

using testing::TempFolder;
using testing::Win32Host;
using Names = std::vector<std::string>;

std::wstring Wide(const std::string& utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string Utf8(const wchar_t* wide) {
  return text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide));
}

// A folder whose files carry Windows attributes; they are cleared at the end
// so the folder can be removed (a read-only file cannot be deleted).
class AttributedFolder {
 public:
  ~AttributedFolder() {
    for (const std::string& path : marked_) {
      SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  std::string File(const std::string& name, DWORD attributes = 0) {
    const std::string path = dir.Write(name);
    if (attributes != 0) {
      EXPECT_TRUE(SetFileAttributesW(Wide(path).c_str(), attributes)) << name;
      marked_.push_back(path);
    }
    return path;
  }
  TempFolder dir;

 private:
  std::vector<std::string> marked_;
};

const char kE[] = "\xC3\xA9t\xC3\xA9.htm";                // été.htm
const char kJapanese[] = "\xE6\x97\xA5\xE6\x9C\xAC.txt";  // 日本.txt
const char kEmoji[] = "\xF0\x9F\x98\x80.png";             // 😀.png

void MakeMixedFolder(AttributedFolder& folder) {
  folder.File("index.htm");
  folder.File("readonly.htm", FILE_ATTRIBUTE_READONLY);
  folder.File("archived.txt", FILE_ATTRIBUTE_ARCHIVE);
  folder.File("system.htm", FILE_ATTRIBUTE_SYSTEM);
  folder.File("hidden.gif", FILE_ATTRIBUTE_HIDDEN);
  folder.File("both.jpg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  folder.File(kE);
  folder.File(kJapanese);
  folder.File(kEmoji);
  folder.File("style.css");
  folder.dir.MakeFolder("chapter.htm");
  folder.File("chapter.htm\\inner.htm");
}

// The names in the order Windows' own listing returns them, filtered as a
// normal-attributes listing filters them.
Names WindowsOrder(const std::string& folder, const Names& wanted) {
  Names names;
  WIN32_FIND_DATAW data{};
  const HANDLE find = FindFirstFileW(Wide(folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Utf8(data.cFileName);
    if (std::find(wanted.begin(), wanted.end(), name) != wanted.end()) names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

TEST(Win32FolderScan, ListsReadOnlyArchivedAndNonAsciiFilesButNoSystemHiddenOrFolders) {
  AttributedFolder folder;
  MakeMixedFolder(folder);
  Win32Host host;
  FrmMain w(host.host);
  host.modal.folders = {folder.dir.Path().substr(0, folder.dir.Path().size() - 1)};
  w.cmdopen.Click();

  const Names expected = {"index.htm", "readonly.htm", "archived.txt", kE, kJapanese, kEmoji};
  Names listed;
  for (int i = 0; i < w.lstFiles.Count(); ++i) listed.push_back(w.lstFiles.Entry(i));
  EXPECT_EQ(listed, WindowsOrder(folder.dir.Path(), expected));
  Names sorted = listed;
  Names sortedExpected = expected;
  std::sort(sorted.begin(), sorted.end());
  std::sort(sortedExpected.begin(), sortedExpected.end());
  EXPECT_EQ(sorted, sortedExpected);
  for (int i = 0; i < w.lstFiles.Count(); ++i) EXPECT_FALSE(w.lstFiles.Checked(i));
  EXPECT_EQ(w.txtpath.Text(), folder.dir.Path());
  EXPECT_EQ(w.txtoutfolder.Text(), folder.dir.Path());
}

TEST(Win32FolderScan, FileExistsCountsOnlyNormalFiles) {
  AttributedFolder folder;
  MakeMixedFolder(folder);
  const std::string at = folder.dir.Path();
  struct Case {
    std::string path;
    bool exists;
  };
  const Case cases[] = {
      {at + "index.htm", true},     {at + "readonly.htm", true},
      {at + "archived.txt", true},  {at + kE, true},
      {at + kEmoji, true},          {at + "system.htm", false},
      {at + "hidden.gif", false},   {at + "both.jpg", false},
      {at + "chapter.htm", false},  {at + "chapter.htm\\", true},
      {at + "sys*.htm", false},     {at + "read*.htm", true},
      {at + "missing.htm", false},  {"Q:\\nowhere\\index.htm", false},
      {at + "bad|name.htm", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileExists(fs::RealFileSystem(), c.path), c.exists);
  }
}

}  // namespace
}  // namespace vexmar::workspace
