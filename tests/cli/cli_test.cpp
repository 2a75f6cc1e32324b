// vexmar-ebc's sub-commands, run as the executable runs them.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "support/source_path.h"
#include "support/temp_folder.h"

namespace vexmar::cli {
namespace {

namespace stdfs = std::filesystem;
using testing::TempFolder;
using Args = std::vector<std::string>;

TEST(Arguments, FitTheSyntaxOrSayWhatIsWrong) {
  const CommandSyntax syntax{{"BOOK", "DIR"}, {"--stub"}, {"--yes"}};
  struct Case {
    Args args;
    std::string error;
  };
  const Case cases[] = {
      {{"a", "b"}, ""},
      {{"--yes", "a", "--stub", "s", "b"}, ""},
      {{"a"}, "missing DIR"},
      {{"a", "b", "c"}, "unexpected argument c"},
      {{"a", "b", "--stub"}, "--stub needs a value"},
      {{"a", "b", "--stub", "s", "--stub", "t"}, "--stub is given twice"},
      {{"a", "b", "--force"}, "unknown option --force"},
      {{"--help"}, ""},  // help needs no arguments
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "" : c.args.back());
    EXPECT_EQ(ParseArguments(syntax, c.args).error, c.error);
  }
  const Arguments a = ParseArguments(syntax, {"--yes", "x", "--stub", "s", "y"}).arguments;
  EXPECT_TRUE(a.Flag("--yes"));
  EXPECT_EQ(a.Value("--stub").value_or(""), "s");
  EXPECT_EQ(a.positionals, (Args{"x", "y"}));
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    const stdfs::path project = stdfs::u8path(dir.Path()) / "garden";
    stdfs::copy(stdfs::u8path(testing::SourcePath("examples/garden")), project);
  }
  // Runs a sub-command, keeping what it printed.
  int Run(int (*command)(const Args&), const Args& args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int code = command(args);
    out = ::testing::internal::GetCapturedStdout();
    err = ::testing::internal::GetCapturedStderr();
    return code;
  }
  std::string P(const std::string& relative) const { return dir.Path() + relative; }

  TempFolder dir;
  std::string out, err;
  const std::string stub = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
};

TEST_F(CommandLine, MakesInspectsAndExtractsTheSampleBook) {
  ASSERT_EQ(Run(NewCommand, {P("garden"), "-o", P("garden.ebc"), "--title", "Garden Notes",
                             "--author", "A. Reader", "--home", "index.htm", "--toc", "all",
                             "--out-folder", dir.Path(), "--out-file", "Garden"}),
            kExitDone)
      << err;
  ASSERT_EQ(Run(BuildCommand, {P("garden.ebc"), "--yes", "--stub", stub}), kExitDone) << err;
  EXPECT_NE(err.find("Compile Finished.: Your e-book has been created."), std::string::npos);

  ASSERT_EQ(Run(InspectCommand, {P("Garden.exe")}), kExitDone) << err;
  EXPECT_NE(out.find("title:        Garden Notes\n"), std::string::npos) << out;
  EXPECT_NE(out.find("files (8):"), std::string::npos) << out;
  EXPECT_NE(out.find("CHAPTER 1.HTML"), std::string::npos);

  ASSERT_EQ(Run(ExtractCommand, {P("Garden.exe"), P("extracted")}), kExitDone) << err;
  for (const char* name : {"leaf.png", "Chapter 1.html", "index.htm"}) {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(dir.Read("extracted/" + upper), dir.Read(std::string("garden/") + name)) << name;
  }
  // The table of contents lists the pages, not the pictures.
  EXPECT_NE(dir.Read("garden/index.htm").find("<A HREF='notes.txt'>notes</A>"), std::string::npos);
  EXPECT_EQ(dir.Read("garden/index.htm").find("leaf.png'>"), std::string::npos);
}

TEST_F(CommandLine, FailuresAndUsageErrorsHaveTheirExitCodes) {
  EXPECT_EQ(Run(NewCommand, {P("garden")}), kExitUsage);  // no -o
  EXPECT_EQ(Run(NewCommand, {P("nowhere"), "-o", P("x.ebc")}), kExitFailed);
  EXPECT_EQ(Run(BuildCommand, {P("missing.ebc"), "--yes"}), kExitFailed);
  EXPECT_NE(err.find("could not be opened"), std::string::npos) << err;
  EXPECT_EQ(Run(InspectCommand, {P("garden/index.htm")}), kExitFailed);
  EXPECT_NE(err.find("is no e-book: not a PE file"), std::string::npos) << err;
  EXPECT_EQ(Run(InspectCommand, {stub}), kExitFailed);
  EXPECT_NE(err.find("it has no settings record"), std::string::npos) << err;

  // Without --yes and with nobody at a terminal, the first question is No.
  ASSERT_EQ(Run(NewCommand, {P("garden"), "-o", P("g.ebc"), "--title", "T", "--author", "A",
                             "--home", "index.htm"}),
            kExitDone);
  EXPECT_EQ(Run(BuildCommand, {P("g.ebc"), "--stub", stub}), kExitFailed);
  EXPECT_NE(err.find("nobody to ask"), std::string::npos) << err;
}

}  // namespace
}  // namespace vexmar::cli
