// Projects in any script, through the command line as the author runs it;
// projects that fit the ANSI code page give the very bytes they always gave.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "build/build_command.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "platform/fs/file_system.h"
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
  // The figures are Windows-1252's, the code page where no Windows is asked.
  if (fs::PathSeparator() == '\\') GTEST_SKIP() << "the code page is the machine's own";
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

// Japanese, Greek, Arabic and emoji in the folder, the files, the title, the
// author and the link: the book gives every name and byte back, and the
// settings file every field.
TEST_F(EveryScript, AProjectInEveryScriptBuildsAndReadsBack) {
  const std::string folder = "書籍 Βιβλία كتب";
  const std::pair<std::string, std::string> files[] = {
      {"日本.htm", "<meta charset=\"utf-8\"><p>日本語のページ</p>"},
      {"Ελληνικά.htm", "<p>Καλημέρα</p>"},
      {"عربي.htm", "<p dir=\"rtl\">مرحبا</p>"},
      {"😀 notes.txt", "\xFF\xFEn\0o\0"},
      {"画像.png", std::string("\x89PNG\r\n\x1A\n\0\xFF", 10)},
  };
  for (const auto& [name, bytes] : files) dir_.Write(folder + "/" + name, bytes);
  const std::string ebc = dir_.Path() + folder + ".ebc";
  ASSERT_EQ(Run(NewCommand, {dir_.Path() + folder, "-o", ebc, "--title", "日本の本 😀", "--author",
                             "Αλέξης", "--home", "日本.htm", "--url-text", "مزيد من الكتب", "--url",
                             "example.com/本", "--toc", "all"}),
            kExitDone)
      << err_;
  ASSERT_EQ(Run(BuildCommand, {ebc, "--yes", "--stub", stub_}), kExitDone) << err_;
  const std::string book = dir_.Path() + folder + "/Output/MyEbook.exe";

  ASSERT_EQ(Run(InspectCommand, {book}), kExitDone) << err_;
  for (const char* line :
       {"title:        日本の本 😀\n", "author:       Αλέξης\n", "index page:   日本.htm\n",
        "link text:    مزيد من الكتب\n", "link address: example.com/本\n"}) {
    EXPECT_NE(out_.find(line), std::string::npos) << line << out_;
  }
  ASSERT_EQ(Run(ExtractCommand, {book, dir_.Path() + "out"}), kExitDone) << err_;
  for (const auto& [stored, name] : {std::pair{"ΕΛΛΗΝΙΚΆ.HTM", "Ελληνικά.htm"},
                                     {"عربي.HTM", "عربي.htm"},
                                     {"😀 NOTES.TXT", "😀 notes.txt"},
                                     {"画像.PNG", "画像.png"},
                                     {"日本.HTM", "日本.htm"}}) {
    EXPECT_NE(out_.find(stored), std::string::npos) << stored;
    EXPECT_EQ(dir_.Read("out/" + std::string(stored)), dir_.Read(folder + "/" + name)) << stored;
  }
  // The contents block went in front of the UTF-8 page as UTF-8.
  const std::string index = dir_.Read(folder + "/日本.htm");
  EXPECT_EQ(index.rfind("<h2 align='left'>Table of Contents</h2>\r\n", 0), 0u);
  EXPECT_NE(index.find("<A HREF='Ελληνικά.htm'>Ελληνικά</A><BR>\r\n"), std::string::npos);

  // The settings file: UTF-8 behind its mark, and back to the same fields and bytes.
  const std::string saved = dir_.Read(folder + ".ebc");
  ASSERT_EQ(saved.rfind("\xEF\xBB\xBF日本の本 😀\r\nΑλέξης\r\n", 0), 0u) << saved;
  ConsoleProgram program(true, stub_);
  program.Dialogs().openNames.push_back(ebc);
  program.Dialogs().saveNames.push_back(ebc + ".again");
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(settings::OpenSettings(program.Window()));
  ASSERT_TRUE(settings::SaveSettings(program.Window()));
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(program.Window().txtpath.Text(), dir_.Path() + folder + fs::PathSeparator());
  EXPECT_EQ(dir_.Read(folder + ".ebc.again"), saved);
}

}  // namespace
}  // namespace vexmar::cli
