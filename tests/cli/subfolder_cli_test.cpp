// A whole web project as a book: `new --recursive` lists the files of its
// sub-folders, the book keeps them under their folders, and `extract`
// writes them back into folders, never through a link out of the target.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "support/source_path.h"
#include "support/temp_folder.h"

namespace vexmar::cli {
namespace {

namespace stdfs = std::filesystem;

class SubfolderBook : public ::testing::Test {
 protected:
  int Run(int (*command)(const std::vector<std::string>&), const std::vector<std::string>& args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int code = command(args);
    out_ = ::testing::internal::GetCapturedStdout();
    err_ = ::testing::internal::GetCapturedStderr();
    return code;
  }
  std::string P(const std::string& relative) const { return dir_.Path() + relative; }
  int New(const std::vector<std::string>& extra) {
    std::vector<std::string> args{
        P("garden"), "-o",        P("g.ebc"),     "--title",   "T",          "--author", "A",
        "--home",    "index.htm", "--out-folder", dir_.Path(), "--out-file", "G"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(NewCommand, args);
  }

  testing::TempFolder dir_;
  std::string out_, err_;
  const std::string stub_ = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
};

TEST_F(SubfolderBook, SampleProjectWithItsPicturesFolderRoundTrips) {
  stdfs::copy(stdfs::u8path(testing::SourcePath("examples/garden")), stdfs::u8path(P("garden")),
              stdfs::copy_options::recursive);
  dir_.Write("garden/images/icons/bud.png", "bud");
  ASSERT_EQ(New({}), kExitDone) << err_;
  EXPECT_NE(out_.find(": 8 files of"), std::string::npos) << out_;  // the top folder alone
  ASSERT_EQ(New({"--recursive"}), kExitDone) << err_;
  EXPECT_NE(out_.find(": 10 files of"), std::string::npos) << out_;
  const std::string ebc = dir_.Read("g.ebc");
  EXPECT_NE(ebc.find(":images\\sprout.gif:images\\icons\\bud.png\r\n"), std::string::npos) << ebc;

  ASSERT_EQ(Run(BuildCommand, {P("g.ebc"), "--yes", "--stub", stub_}), kExitDone) << err_;
  ASSERT_EQ(Run(ExtractCommand, {P("G.exe"), P("out")}), kExitDone) << err_;
  EXPECT_EQ(dir_.Read("out/IMAGES/SPROUT.GIF"), dir_.Read("garden/images/sprout.gif"));
  EXPECT_EQ(dir_.Read("out/IMAGES/ICONS/BUD.PNG"), "bud");

  // A link where a folder of the book goes would carry its files out of the
  // target: refused, and nothing lands at the link's end.
  const std::string elsewhere = dir_.MakeFolder("elsewhere");
  dir_.MakeFolder("linked");
  std::error_code noLinks;  // Windows without the right to make links
  stdfs::create_directory_symlink(stdfs::u8path(elsewhere), stdfs::u8path(P("linked/IMAGES")),
                                  noLinks);
  if (!noLinks) {
    EXPECT_EQ(Run(ExtractCommand, {P("G.exe"), P("linked")}), kExitFailed);
    EXPECT_NE(err_.find("is a link or a file, not a folder"), std::string::npos) << err_;
    EXPECT_TRUE(stdfs::is_empty(stdfs::u8path(elsewhere)));
  }
}

}  // namespace
}  // namespace vexmar::cli
