#pragma once
// vexmar-ebc's sub-commands run in the test's process as the executable runs
// them, with what they print kept, in a fresh folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/commands.h"
#include "support/temp_folder.h"

namespace vexmar::cli {

class CommandLineTest : public ::testing::Test {
 protected:
  using Args = std::vector<std::string>;
  int Run(int (*command)(const Args&), const Args& args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int code = command(args);
    out_ = ::testing::internal::GetCapturedStdout();
    err_ = ::testing::internal::GetCapturedStderr();
    return code;
  }
  std::string P(const std::string& relative) const { return dir_.Path() + relative; }
  // `new` of the project in `folder`, saved beside it as folder.ebc, its book
  // made in the test's folder as `book`.exe.
  int NewProject(const std::string& folder, const std::string& book, const Args& more = {}) {
    Args args{P(folder), "-o", P(folder + ".ebc"), "--out-folder", dir_.Path(), "--out-file", book};
    args.insert(args.end(), {"--title", "T", "--author", "A", "--home", "index.htm"});
    args.insert(args.end(), more.begin(), more.end());
    return Run(NewCommand, args);
  }
  int Build(const std::string& folder, const Args& more = {}) {
    Args args{P(folder + ".ebc"), "--yes", "--stub", stub_};
    args.insert(args.end(), more.begin(), more.end());
    return Run(BuildCommand, args);
  }

  testing::TempFolder dir_;
  std::string out_, err_;
  const std::string stub_ = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
};

}  // namespace vexmar::cli
