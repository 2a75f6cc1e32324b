// An independent reader of our output: python3-pefile must parse every
// updated fixture, with an overlay and signed or not, without a warning.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

TEST(PefileCrossCheck, ParsesEveryUpdatedFixtureWithoutWarnings) {
  // Debian's pefile belongs to the system Python, not to one on PATH.
  const char* python = "/usr/bin/python3";
  VEXMAR_REQUIRE_FIXTURES();
  if (!fs::exists(python)) GTEST_SKIP() << "no " << python;
  const fs::path folder = fs::temp_directory_path() / "vexmar-pefile-check";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const Bytes noise = testing::Pattern(64 * 1024, 1);
  std::string command =
      std::string(python) + " " + VEXMAR_RESOURCE_TEST_SOURCES + "/check_pefile.py";
  for (const std::string& name : testing::kFixtureNames) {
    for (const bool with_certificate : {false, true}) {
      Bytes input = testing::LoadFixture(name);
      input.insert(input.end(), noise.begin(), noise.begin() + 333);  // overlay
      if (with_certificate) testing::AddCertificate(input, 512);
      const Bytes output = testing::Apply(input, [&](ResourceEditor& editor) {
        testing::Put(editor, "CUSTOM", "101", 1033, testing::ToBytes("T:A:index.htm"));
        testing::Put(editor, "2110", "index.htm", 1033, noise);
        testing::Put(editor, "2110", "empty.txt", 1033, {});
        for (int i = 0; i < 50; ++i) {
          testing::Put(editor, "2110", "page" + std::to_string(i) + ".htm", 1033,
                       Bytes(noise.begin(), noise.begin() + 100 * i));
        }
      });
      const fs::path path = folder / ((with_certificate ? "signed-" : "") + name);
      testing::WriteFileBytes(path.u8string(), output);
      command += " " + path.u8string();
    }
  }
  const int status = std::system(command.c_str());
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
    GTEST_SKIP() << "pefile is not installed for " << python;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vexmar::resources
