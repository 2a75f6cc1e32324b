#pragma once
// vexmar-ebc's sub-commands run in the test's process as the executable runs
// them, with what they print kept, in a fresh folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

  testing::TempFolder dir_;
  std::string out_, err_;
  const std::string stub_ = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
};

}  // namespace vexmar::cli
