// Windows' own file system under the real window: the folder scan leaves out
// system files and keeps read-only ones, attributes only Windows has. The
// portable cases (hidden files, folders, names beyond ASCII) run in
// tests/workspace on every platform, under Wine too.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/main_window_fixture.h"
#include "support/temp_folder.h"
#include "wine/win32_host.h"
#include "workspace/frm_main.h"

namespace vexmar::workspace {
namespace {

// The attributes are cleared at the end so the folder can be removed (a
// read-only file cannot be).
class MixedFolder : public testing::TempFolder {
 public:
  MixedFolder() {
    const std::pair<const char*, DWORD> files[] = {{"index.htm", FILE_ATTRIBUTE_NORMAL},
                                                   {"readonly.htm", FILE_ATTRIBUTE_READONLY},
                                                   {"system.htm", FILE_ATTRIBUTE_SYSTEM}};
    for (const auto& [name, attributes] : files) {
      marked_.push_back(testing::Wide(Write(name)));
      EXPECT_TRUE(SetFileAttributesW(marked_.back().c_str(), attributes)) << name;
    }
  }
  ~MixedFolder() {
    for (const std::wstring& path : marked_)
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }

 private:
  std::vector<std::wstring> marked_;
};

TEST(Win32FolderScan, ListsReadOnlyFilesButNoSystemFiles) {
  MixedFolder folder;
  testing::Win32Host host;
  FrmMain w(host.host);
  host.modal.folders = {folder.Path().substr(0, folder.Path().size() - 1)};
  w.cmdopen.Click();
  std::vector<std::string> listed = testing::Entries(w.lstFiles);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"index.htm", "readonly.htm"}));
}

}  // namespace
}  // namespace vexmar::workspace
