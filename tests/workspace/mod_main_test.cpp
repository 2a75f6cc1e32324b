#include "workspace/mod_main.h"

#include <gtest/gtest.h>

#include "platform/fs/file_system.h"
#include "support/temp_folder.h"

namespace vexmar::workspace {
namespace {

const std::string kSep(1, fs::PathSeparator());

// An empty text gives one character, which the folder commands take to mean
// that no folder was chosen (a doubled separator fails the folder scan's tests).
TEST(AddBackslash, GivesAnEmptyTextOneSeparator) {
  EXPECT_EQ(AddBackslash(""), kSep);
}

TEST(FileExists, CountsOnlyNormalFiles) {
  testing::TempFolder dir;
  dir.Write("index.htm");
  dir.Write("sub" + kSep + "inner.htm");
  dir.MakeFolder("empty");
  const std::string& in = dir.Path();
  const std::pair<std::string, bool> cases[] = {
      {in + "index.htm", true},
      {in + "missing.htm", false},
      {in + dir.WriteHidden("secret.htm"), false},
      {in + "sub", false},        // a folder named without a separator
      {in + "sub" + kSep, true},  // ... with one: it holds a normal file
      {in + "empty" + kSep, false},
      {in + "*.htm", true},  // wildcards: any normal file matches
      {in + "*.gif", false},
      {in + "ind?x.htm", true},
      {in + "nowhere" + kSep + "index.htm", false},
  };
  for (const auto& [path, exists] : cases) {
    EXPECT_EQ(FileExists(fs::RealFileSystem(), path), exists) << path;
  }
}

}  // namespace
}  // namespace vexmar::workspace
