// vexmar-ebc's sub-commands, run as the executable runs them.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "platform/fs/temporary_file.h"
#include "support/source_path.h"
#include "support/temp_folder.h"

namespace vexmar::cli {
namespace {

namespace stdfs = std::filesystem;
using testing::TempFolder;
using Args = std::vector<std::string>;

TEST(Arguments, FitTheSyntaxOrSayWhatIsWrong) {
  const CommandSyntax syntax{{"BOOK", "DIR"}, {"--stub"}, {"--yes"}};
  const std::pair<Args, std::string> cases[] = {
      {{"--yes", "a", "--stub", "s", "b"}, ""},
      {{"--help"}, ""},  // help needs no arguments
      {{"a"}, "missing DIR"},
      {{"a", "b", "c"}, "unexpected argument c"},
      {{"a", "b", "--stub"}, "--stub needs a value"},
      {{"a", "b", "--stub", "s", "--stub", "t"}, "--stub is given twice"},
      {{"a", "b", "--force"}, "unknown option --force"},
  };
  for (const auto& [args, error] : cases) {
    EXPECT_EQ(ParseArguments(syntax, args).error, error) << args.back();
  }
  const Arguments a = ParseArguments(syntax, {"--yes", "x", "--stub", "s", "y"}).arguments;
  EXPECT_TRUE(a.Flag("--yes"));
  EXPECT_EQ(a.Value("--stub").value_or(""), "s");
  EXPECT_EQ(a.positionals, (Args{"x", "y"}));
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    const stdfs::path project = stdfs::u8path(dir_.Path()) / "garden";
    stdfs::copy(stdfs::u8path(testing::SourcePath("examples/garden")), project);
  }
  // Runs a sub-command, keeping what it printed.
  int Run(int (*command)(const Args&), const Args& args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int code = command(args);
    out_ = ::testing::internal::GetCapturedStdout();
    err_ = ::testing::internal::GetCapturedStderr();
    return code;
  }
  std::string P(const std::string& relative) const { return dir_.Path() + relative; }

  TempFolder dir_;
  std::string out_, err_;
  const std::string stub_ = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
};

TEST_F(CommandLine, MakesInspectsAndExtractsTheSampleBook) {
  ASSERT_EQ(Run(NewCommand, {P("garden"), "-o", P("garden.ebc"), "--title", "Garden Notes",
                             "--author", "A. Reader", "--home", "index.htm", "--toc", "all",
                             "--out-folder", dir_.Path(), "--out-file", "Garden"}),
            kExitDone)
      << err_;
  ASSERT_EQ(Run(BuildCommand, {P("garden.ebc"), "--yes", "--stub", stub_}), kExitDone) << err_;
  EXPECT_NE(err_.find("Compile Finished.: Your e-book has been created."), std::string::npos);

  ASSERT_EQ(Run(InspectCommand, {P("Garden.exe")}), kExitDone) << err_;
  EXPECT_NE(out_.find("title:        Garden Notes\n"), std::string::npos) << out_;
  EXPECT_NE(out_.find("files (8):"), std::string::npos) << out_;
  EXPECT_NE(out_.find("CHAPTER 1.HTML"), std::string::npos);

  ASSERT_EQ(Run(ExtractCommand, {P("Garden.exe"), P("extracted")}), kExitDone) << err_;
  for (const auto& [stored, name] : {std::pair{"LEAF.PNG", "leaf.png"},
                                     {"CHAPTER 1.HTML", "Chapter 1.html"},
                                     {"INDEX.HTM", "index.htm"}}) {
    EXPECT_EQ(dir_.Read(std::string("extracted/") + stored),
              dir_.Read(std::string("garden/") + name));
  }
  // The table of contents lists the pages, not the pictures.
  EXPECT_NE(dir_.Read("garden/index.htm").find("<A HREF='notes.txt'>notes</A>"), std::string::npos);
  EXPECT_EQ(dir_.Read("garden/index.htm").find("leaf.png'>"), std::string::npos);
}

TEST_F(CommandLine, FailuresAndUsageErrorsHaveTheirExitCodes) {
  EXPECT_EQ(Run(NewCommand, {P("garden")}), kExitUsage);  // no -o
  EXPECT_EQ(Run(NewCommand, {P("nowhere"), "-o", P("x.ebc")}), kExitFailed);
  EXPECT_EQ(Run(BuildCommand, {P("missing.ebc"), "--yes"}), kExitFailed);
  EXPECT_NE(err_.find("could not be opened"), std::string::npos) << err_;
  EXPECT_EQ(Run(InspectCommand, {P("garden/index.htm")}), kExitFailed);
  EXPECT_NE(err_.find("is no e-book: not a PE file"), std::string::npos) << err_;
  EXPECT_EQ(Run(InspectCommand, {stub_}), kExitFailed);
  EXPECT_NE(err_.find("it has no settings record"), std::string::npos) << err_;

  // Without --yes and with nobody at a terminal, the first question is No.
  ASSERT_EQ(Run(NewCommand, {P("garden"), "-o", P("g.ebc"), "--title", "T", "--author", "A",
                             "--home", "index.htm"}),
            kExitDone);
  EXPECT_EQ(Run(BuildCommand, {P("g.ebc"), "--stub", stub_}), kExitFailed);
  EXPECT_NE(err_.find("nobody to ask"), std::string::npos) << err_;
}

// The settings file, the index page and the book are each made beside
// their target under a name nobody can plant a link at in advance; here the
// test knows the names and plants links at the first ones tried. Stale
// temporary files of killed builds go; a 254-character book name is built.
TEST_F(CommandLine, TemporaryFilesAreNeverFollowedNorLeftBehind) {
#ifdef _WIN32
  const std::string name = "Garden";  // a long path is another matter there
#else
  const std::string name(250, 'G');
#endif
  const std::string victim = dir_.Write("victim.txt", "the author's");
  const std::string targets[] = {P("garden.ebc"), P("garden/index.htm"), P(name + ".exe")};
  for (const std::string& target : targets) {
    const std::string folder = target.substr(0, target.find_last_of("\\/") + 1);
    dir_.Write(folder.substr(dir_.Path().size()) + fs::TemporaryName(target, 0x7ffffff0, 9));
#ifndef _WIN32
    for (const std::uint32_t draw : {0u, 1u, 2u}) {
      stdfs::create_symlink(
          victim, folder + fs::TemporaryName(target, testing::ThisProcessForTest(), draw));
    }
#endif
  }
  static std::uint32_t draws = 0;
  const fs::NameDraw system = fs::SetNameDraw([] { return draws++ % 5; });
  ASSERT_EQ(Run(NewCommand,
                {P("garden"), "-o", P("garden.ebc"), "--title", "T", "--author", "A", "--home",
                 "index.htm", "--toc", "all", "--out-folder", dir_.Path(), "--out-file", name}),
            kExitDone);
  EXPECT_EQ(Run(BuildCommand, {P("garden.ebc"), "--yes", "--stub", stub_}), kExitDone) << err_;
  fs::SetNameDraw(system);
  EXPECT_EQ(Run(InspectCommand, {P(name + ".exe")}), kExitDone) << err_;
  EXPECT_EQ(dir_.Read("victim.txt"), "the author's");
  for (const std::string& folder : {dir_.Path(), P("garden")}) {
    for (const auto& entry : stdfs::directory_iterator(stdfs::u8path(folder))) {
      std::uint32_t process = 0;
      const std::string file = entry.path().filename().u8string();
      for (const std::string& target : targets) {
        EXPECT_FALSE(fs::IsTemporaryOf(target, file, &process) && !entry.is_symlink()) << file;
      }
    }
  }
}

}  // namespace
}  // namespace vexmar::cli
