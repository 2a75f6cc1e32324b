// Projects in any script, through the command line as the author runs it;
// projects that fit the ANSI code page give the very bytes they always gave.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "build/build_command.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "settings/settings_commands.h"
#include "support/source_path.h"
#include "support/temp_folder.h"

namespace vexmar::cli {
namespace {

namespace stdfs = std::filesystem;
using Args = std::vector<std::string>;

// FNV-1a: enough to tell whether two outputs are the same bytes.
uint64_t Fingerprint(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

class EveryScript : public ::testing::Test {
 protected:
  int Run(int (*command)(const Args&), const Args& args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int code = command(args);
    out_ = ::testing::internal::GetCapturedStdout();
    err_ = ::testing::internal::GetCapturedStderr();
    return code;
  }
  // `vexmar-ebc build` with a build date that does not move with the clock.
  build::CompileResult Build(const std::string& settingsFile) {
    ConsoleProgram program(true, stub_);
    build::BuildSetup setup = program.Setup();
    setup.buildDate = [] { return std::string("3/14/2026"); };
    workspace::FrmMain& w = program.Window();
    program.Dialogs().openNames.push_back(settingsFile);
    ::testing::internal::CaptureStderr();
    settings::OpenSettings(w);
    for (int i = 0; i < w.lstFiles.Count(); ++i) w.lstFiles.SetChecked(i, true);
    for (int i = 0; i < w.lstTOC.Count(); ++i) w.lstTOC.SetChecked(i, true);
    const build::CompileResult result = build::Compile(w, setup);
    err_ = ::testing::internal::GetCapturedStderr();
    return result;
  }

  testing::TempFolder dir_;
  std::string out_, err_;
  const std::string stub_ = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
};

// Figures taken from the program before names, titles and pages outside the
// ANSI code page were supported: every byte of a project that fits it stays.
TEST_F(EveryScript, AProjectThatFitsTheCodePageGivesTheSameBytesAsBefore) {
  stdfs::copy(stdfs::u8path(testing::SourcePath("examples/garden")),
              stdfs::u8path(dir_.Path() + "garden"));
  dir_.Write("garden/Café.htm", "<p>caf\xE9</p>");
  ASSERT_EQ(Run(NewCommand, {dir_.Path() + "garden", "-o", dir_.Path() + "garden.ebc", "--title",
                             "Jardin d'été", "--author", "Zoë Brontë", "--home", "index.htm",
                             "--url-text", "Plus de notes…", "--url", "example.com/été", "--toc",
                             "all", "--out-folder", dir_.Path(), "--out-file", "Jardin"}),
            kExitDone)
      << err_;
  ASSERT_EQ(Build(dir_.Path() + "garden.ebc"), build::CompileResult::Done) << err_;
  const std::string settingsFile = ReplaceAll(dir_.Read("garden.ebc"), dir_.Path(), "<dir>/");
  EXPECT_EQ(Fingerprint(settingsFile), 1630567833479682612u);
  EXPECT_EQ(Fingerprint(dir_.Read("garden/index.htm")), 15067112503901367927u);
  EXPECT_EQ(Fingerprint(dir_.Read("Jardin.exe")), 3885135365895843165u);
}

}  // namespace
}  // namespace vexmar::cli
