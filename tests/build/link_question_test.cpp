// Compile's question about what the link check found, on the headless
// main window: the lines it shows, No ends the build with nothing written,
// and a clean project is not asked about.
#include <gtest/gtest.h>

#include "build/build_command.h"
#include "build/fake_resource_updates.h"
#include "support/main_window_fixture.h"

namespace vexmar::build {
namespace {

using dialogs::Answer;

const std::string kBook = std::string("book") + fs::PathSeparator();
const std::string kStub = "dmsfx.dat";

struct LinkQuestionFixture : testing::MainWindowFixture {
  explicit LinkQuestionFixture(const std::string& home) : MainWindowFixture(files) {
    files.contents = {{kStub, "MZ stub"}, {kBook + "index.htm", home}, {kBook + "notes.txt", "n"}};
    files.folders = {kBook, "out"};
    files.listings[kBook] = {{"index.htm", "notes.txt"}, -1};
    workspace::FrmMain& m = w();
    m.ProjectFolder = kBook;
    m.txtpath.SetText(kBook);
    m.txtoutfolder.SetText(std::string("out") + fs::PathSeparator());
    m.txthomepage.SetText("index.htm");
    m.txttitle.SetText("Garden");
    m.txtAuthor.SetText("A. Reader");
    m.lstFiles.Add("index.htm");
    m.lstFiles.Add("notes.txt");
    m.lstFiles.SetChecked(0, true);
  }
  CompileResult Compile(Answer toTheLinks) {
    modal.answers = {Answer::Yes, toTheLinks};
    return build::Compile(w(), setup);
  }
  std::vector<dialogs::Message> Questions() const {
    std::vector<dialogs::Message> out;
    for (const auto& box : modal.shown) {
      if (box.title == "Check Links") out.push_back(box);
    }
    return out;
  }

  testing::FakeFileSystem files;
  testing::FakeResourceUpdates resources;
  BuildSetup setup{resources, kStub, [] { return BuildDay{{2026, 3, 14}, "3/14/2026"}; }};
};

TEST(LinkQuestion, ListsTheFirstTenAndNoEndsTheBuildWithNothingWritten) {
  std::string page = "<a href=\"notes.txt\">notes</a>\n";
  for (int i = 1; i <= 11; ++i) page += "<img src=\"pic" + std::to_string(i) + ".gif\">\n";
  LinkQuestionFixture f(page);
  EXPECT_EQ(f.Compile(Answer::No), CompileResult::Cancelled);
  const std::vector<dialogs::Message> asked = f.Questions();
  ASSERT_EQ(asked.size(), 1u);
  std::string expected =
      "The link check found these problems in your project:\r\n\r\n"
      "index.htm, line 1: \"notes.txt\" is not checked, so the e-book will not carry it.\r\n";
  for (int i = 1; i <= 9; ++i) {
    expected += "index.htm, line " + std::to_string(i + 1) + ": \"pic" + std::to_string(i) +
                ".gif\" is no file of the project folder.\r\n";
  }
  expected += "\xE2\x80\xA6 and 2 more\r\n\r\nDo you want to build the e-book anyway?";
  EXPECT_EQ(testing::Box(asked[0]), testing::Box(expected, "Check Links", dialogs::Icon::Question,
                                                 dialogs::Buttons::YesNo));
  EXPECT_TRUE(f.resources.log.empty() && f.files.writes.empty());
  EXPECT_EQ(f.w().Window().GetMousePointer(), ui::MousePointer::Default);

  EXPECT_EQ(f.Compile(Answer::Yes), CompileResult::Done);  // Yes builds anyway
}

TEST(LinkQuestion, NoQuestionForACleanProjectAndTheListenerMayRefuse) {
  LinkQuestionFixture clean("<a href=\"INDEX.HTM#top\">up</a><a href=\"http://example.com\">");
  EXPECT_EQ(clean.Compile(Answer::No), CompileResult::Done);
  EXPECT_TRUE(clean.Questions().empty());

  LinkQuestionFixture strict("<a href=\"notes.txt\">");
  std::size_t told = 0;
  strict.setup.linkFindings = [&](const std::vector<LinkFinding>& findings) {
    told = findings.size();
    return false;
  };
  EXPECT_EQ(strict.Compile(Answer::Yes), CompileResult::CheckFailed);
  EXPECT_EQ(told, 1u);
  EXPECT_TRUE(strict.Questions().empty() && strict.resources.log.empty());
}

}  // namespace
}  // namespace vexmar::build
