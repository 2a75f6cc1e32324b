// An independent reader of our output: python3-pefile must parse every
// updated fixture without a single warning.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::Id;

TEST(PefileCrossCheck, ParsesEveryUpdatedFixtureWithoutWarnings) {
  // Debian's pefile belongs to the system Python, not to one on PATH.
  const char* python = "/usr/bin/python3";
  if (!testing::HaveFixtures() || !fs::exists(python)) {
    GTEST_SKIP() << "no mingw fixtures or no " << python;
  }
  const fs::path folder = fs::temp_directory_path() / "vexmar-pefile-check";
  fs::remove_all(folder);
  fs::create_directories(folder);
  Bytes noise(64 * 1024);
  uint32_t seed = 1;
  for (uint8_t& byte : noise) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(seed >> 24);
  }
  std::string command =
      std::string(python) + " " + VEXMAR_RESOURCE_TEST_SOURCES + "/check_pefile.py";
  for (const char* name : {"exe32.exe", "exe32-rsrc-last.exe", "exe32-unstripped.exe",
                           "exe32-no-resources.exe", "lib32.dll", "exe64.exe", "lib64.dll"}) {
    for (const bool with_certificate : {false, true}) {
      Bytes input = testing::LoadFixture(name);
      input.insert(input.end(), noise.begin(), noise.begin() + 333);  // overlay
      if (with_certificate) {
        testing::AddCertificate(input, 512);
      }
      const Bytes output = testing::Apply(input, [&](ResourceEditor& editor) {
        ASSERT_TRUE(editor
                        .Set(Id("CUSTOM"), Id("101"), 1033,
                             EntryData::Bytes(testing::ToBytes("T:A:index.htm")))
                        .ok());
        ASSERT_TRUE(editor.Set(Id("2110"), Id("index.htm"), 1033, EntryData::Bytes(noise)).ok());
        ASSERT_TRUE(editor.Set(Id("2110"), Id("empty.txt"), 1033, EntryData::Bytes({})).ok());
        for (int i = 0; i < 50; ++i) {
          ASSERT_TRUE(editor
                          .Set(Id("2110"), Id("page" + std::to_string(i) + ".htm"), 1033,
                               EntryData::Bytes(Bytes(noise.begin(), noise.begin() + 100 * i)))
                          .ok());
        }
      });
      const fs::path path = folder / (std::string(with_certificate ? "signed-" : "") + name);
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
