// Compile on the headless main window: the questions, the checks in their
// order, the output folder, the outcomes and the failures the author is told of.
#include "build/build_command.h"

#include <gtest/gtest.h>

#include "build/fake_resource_updates.h"
#include "support/main_window_fixture.h"
#include "workspace/mod_main.h"

namespace vexmar::build {
namespace {

using dialogs::Answer;
using dialogs::Icon;
using testing::FakeFileSystem;
using testing::FakeResourceUpdates;
using testing::MainWindowFixture;

constexpr char kCaption[] = "Vexmar E-book Compiler";
const std::string kSep(1, fs::PathSeparator());
const std::string kBook = "book" + kSep;
const std::string kOut = "out" + kSep;
const std::string kStub = "program" + kSep + "dmsfx.dat";

struct BuildFixture : MainWindowFixture {
  BuildFixture() : MainWindowFixture(files) {
    w().Window().SetCaption(kCaption);
    files.contents[kStub] = "MZ stub";
    files.contents[kBook + "index.htm"] = "<p>Welcome</p>";
    files.contents[kBook + "logo.gif"] = "GIF89a";
    files.contents[kBook + "notes.txt"] = "notes";
    files.folders = {kBook, kOut};
    workspace::FrmMain& m = w();
    m.ProjectFolder = kBook;
    m.txtpath.SetText(kBook);
    m.txtoutfolder.SetText(kOut);
    for (const char* name : {"index.htm", "logo.gif", "notes.txt"}) m.lstFiles.Add(name);
    m.lstFiles.SetChecked(0, true);
    m.lstFiles.SetChecked(1, true);
    m.txthomepage.SetText("index.htm");
    m.txttitle.SetText("Garden Notes");
    m.txtAuthor.SetText("A. Reader");
    m.txtURLText.SetText("More notes");
    m.txtoutfile.SetText("Garden");
  }

  // Presses Compile, answering Yes to every question.
  void Compile() {
    modal.answers.assign(4, Answer::Yes);
    build::Compile(w(), setup);
  }
  // The one box after the confirmations.
  dialogs::Message OnlyMessage() const {
    const std::vector<dialogs::Message> outcomes = Outcomes();
    EXPECT_EQ(outcomes.size(), 1u);
    return outcomes.empty() ? dialogs::Message{} : outcomes.back();
  }
  // The boxes after the confirmations.
  std::vector<dialogs::Message> Outcomes() const {
    std::vector<dialogs::Message> out;
    for (const auto& box : modal.shown) {
      if (box.buttons == dialogs::Buttons::Ok) out.push_back(box);
    }
    return out;
  }

  FakeFileSystem files;
  FakeResourceUpdates resources;
  BuildSetup setup{resources, kStub, [] { return std::string("3/14/2026"); }};
};

TEST(Compile, AskFirstAndAgainForATableOfContents) {
  BuildFixture f;
  f.modal.answers = {Answer::No};
  Compile(f.w(), f.setup);
  ASSERT_EQ(f.modal.shown.size(), 1u);
  EXPECT_EQ(f.modal.shown[0].text, "Are you ready to build your e-book now?");
  EXPECT_EQ(f.modal.shown[0].title, "Confirm");
  EXPECT_EQ(f.modal.shown[0].buttons, dialogs::Buttons::YesNo);
  EXPECT_EQ(f.modal.shown[0].icon, Icon::None);

  f.w().chkTOC.SetValue(1);
  f.modal.shown.clear();
  f.modal.answers = {Answer::Yes, Answer::No};
  Compile(f.w(), f.setup);
  ASSERT_EQ(f.modal.shown.size(), 2u);
  EXPECT_EQ(f.modal.shown[1].title, "Confirm");
  EXPECT_EQ(f.modal.shown[1].icon, Icon::Question);
  EXPECT_TRUE(f.resources.log.empty());
  EXPECT_EQ(f.w().txtoutfile.Text(), "Garden");  // No ends it before any check
}

TEST(Compile, RefusesAColonInAnyTextBoxButTheFolders) {
  BuildFixture f;
  f.w().txtpath.SetText("C:" + kBook);
  f.w().txtoutfolder.SetText("C:" + kOut);
  f.w().txtURL.SetText("http://example.com");
  f.w().txttitle.SetText("A: title");
  f.Compile();
  const dialogs::Message box = f.OnlyMessage();
  EXPECT_EQ(box.text, "Please remove all ':' characters");
  EXPECT_EQ(box.title, "Data Error");
  EXPECT_EQ(box.icon, Icon::None);
  EXPECT_TRUE(f.w().txtURL.HasFocus());  // txtURL comes first in the window's order
}

TEST(Compile, WithoutProjectFilesItOffersTheFolderChooserAndEnds) {
  BuildFixture f;
  f.w().ProjectFolder.clear();
  f.modal.folders = {"elsewhere"};
  f.Compile();
  const dialogs::Message box = f.OnlyMessage();
  EXPECT_EQ(box.text, "No project files were found please select your project folder.");
  EXPECT_EQ(box.title, kCaption);
  EXPECT_EQ(box.icon, Icon::Information);
  EXPECT_EQ(f.modal.browsed.size(), 1u);
  EXPECT_TRUE(f.resources.log.empty());  // the build does not resume
}

TEST(Compile, TheHomePageMustBeNamedAndExist) {
  BuildFixture f;
  f.w().txthomepage.SetText("   ");
  f.Compile();
  EXPECT_EQ(f.OnlyMessage().text, "You need to include the name of your default index page.");
  EXPECT_EQ(f.OnlyMessage().icon, Icon::Information);
  EXPECT_TRUE(f.w().txthomepage.HasFocus());
  EXPECT_EQ(f.w().txthomepage.BackColor(), ui::kYellow);

  BuildFixture g;
  g.w().txthomepage.SetText("start.htm");
  g.Compile();
  EXPECT_EQ(g.OnlyMessage().text,
            "The index page name you entered was not found.\r\n\r\n" + kBook + "start.htm");
  EXPECT_EQ(g.OnlyMessage().icon, Icon::Critical);
  EXPECT_EQ(g.OnlyMessage().title, kCaption);
  EXPECT_EQ(g.w().txthomepage.SelLength(), 9);
  EXPECT_EQ(g.w().txthomepage.BackColor(), ui::kYellow);
}

TEST(Compile, TheOutputNameIsCompletedWithExe) {
  struct Case {
    const char* typed;
    const char* result;
  };
  for (const Case& c : {Case{"Story", "Story.exe"}, Case{"Story.EXE", "Story.EXE"},
                        Case{"Story.Exe", "Story.Exe"}, Case{"a.ex", "a.ex.exe"}}) {
    BuildFixture f;
    f.w().txtoutfile.SetText(c.typed);
    f.w().txttitle.SetText("");  // stop at the title check, after the first pass
    f.Compile();
    EXPECT_EQ(f.w().txtoutfile.Text(), c.result) << c.typed;
  }
  BuildFixture f;
  f.w().txtoutfile.SetText("   ");
  f.Compile();
  EXPECT_EQ(f.Outcomes().front().text,
            "You have not entered in a name for your ebook. A default name will be provided for "
            "you.");
  EXPECT_EQ(f.w().txtoutfile.Text(), "MyEbook.exe");
  EXPECT_EQ(f.Outcomes().back().title, "Compile Finished.");
}

TEST(Compile, TitleAndAuthorMustNotBeEmpty) {
  for (ui::TextBox* (*field)(workspace::FrmMain&) :
       {+[](workspace::FrmMain& m) { return &m.txttitle; },
        +[](workspace::FrmMain& m) { return &m.txtAuthor; }}) {
    BuildFixture f;
    ui::TextBox& box = *field(f.w());
    box.SetText("");
    f.Compile();
    EXPECT_EQ(f.OnlyMessage().text, &box == &f.w().txttitle
                                        ? "Please enter an ebook title."
                                        : "Please enter the author of this ebook.");
    EXPECT_EQ(f.OnlyMessage().title, kApplicationTitle);
    EXPECT_TRUE(box.HasFocus());
    EXPECT_EQ(box.BackColor(), ui::kYellow);
  }
  BuildFixture f;
  f.w().txttitle.SetText(" ");  // a blank is a title
  f.Compile();
  EXPECT_EQ(f.OnlyMessage().title, "Compile Finished.");
}

TEST(Compile, FilesAndContentsPagesMustBeChecked) {
  BuildFixture f;
  f.w().lstFiles.SetChecked(0, false);
  f.w().lstFiles.SetChecked(1, false);
  f.w().txtpath.SetText("book/");  // so the switch asks nothing
  f.w().chkTOC.SetValue(1);
  f.w().lstTOC.Add("index.htm");
  f.w().lstTOC.SetChecked(0, true);
  f.Compile();
  EXPECT_EQ(f.OnlyMessage().text,
            "Please select the files to include in your project before creating your E-book.");
  EXPECT_TRUE(f.w().lstFiles.HasFocus());

  BuildFixture g;
  g.w().txtpath.SetText("book/");
  g.w().chkTOC.SetValue(1);
  g.w().lstTOC.Add("index.htm");
  g.Compile();
  EXPECT_EQ(g.OnlyMessage().text,
            "Please select the files to include in your Table of Contents before creating your "
            "E-book.");
  EXPECT_EQ(g.OnlyMessage().title, kApplicationTitle);
  EXPECT_TRUE(g.w().lstTOC.HasFocus());
}

TEST(Compile, WritesTheSettingsEntryThenEveryCheckedFileInOneUpdate) {
  BuildFixture f;
  f.Compile();
  const std::string partial = kOut + "Garden.exe.partial";
  EXPECT_EQ(f.resources.log,
            (std::vector<std::string>{
                "begin " + partial,
                "update CUSTOM 101 1033 Garden Notes:A. Reader:index.htm:3/14/2026:More "
                "notes::blank:blank:blank",
                "commit", "begin " + partial, "file 2110 INDEX.HTM 1033 " + kBook + "index.htm",
                "file 2110 LOGO.GIF 1033 " + kBook + "logo.gif", "commit"}));
  const dialogs::Message box = f.OnlyMessage();
  EXPECT_EQ(box.text,
            "Your e-book has been created.  File saved to:\r\n\r\n" + kOut + "Garden.exe");
  EXPECT_EQ(box.title, "Compile Finished.");
  EXPECT_EQ(box.icon, Icon::Information);
  EXPECT_EQ(f.files.contents.count(kOut + "Garden.exe"), 1u);
  EXPECT_EQ(f.files.contents.count(partial), 0u);
  EXPECT_EQ(f.w().Window().GetMousePointer(), ui::MousePointer::Default);
}

TEST(Compile, TheProjectFolderAsOutputFolderMeansItsOutputSubfolder) {
  BuildFixture f;
  f.w().txtoutfolder.SetText(kBook);
  f.Compile();
  const std::string output = kBook + "Output" + kSep;
  EXPECT_EQ(f.w().txtoutfolder.Text(), output);
  EXPECT_TRUE(f.files.FolderExists(output));
  EXPECT_EQ(f.files.contents.count(output + "Garden.exe"), 1u);
  f.Compile();  // now the two differ: no Output inside Output
  EXPECT_EQ(f.w().txtoutfolder.Text(), output);
}

TEST(Compile, AnOutputFolderThatCannotBeMadeEndsWithTheGenericMessage) {
  BuildFixture f;
  f.w().txtoutfolder.SetText(kBook);
  f.files.failWrites[kBook + "Output" + kSep] = "access is denied";
  f.Compile();
  EXPECT_EQ(f.OnlyMessage().text,
            "An error has occurred.  Please close this program and try again.\r\n\r\n"
            "Number: 70\r\nAccess is denied.");
  EXPECT_EQ(f.OnlyMessage().title, kCaption);
  EXPECT_TRUE(f.resources.log.empty());
}

TEST(Compile, AMissingStubCreatesNothing) {
  BuildFixture f;
  f.files.contents.erase(kStub);
  f.files.contents[kOut + "Garden.exe"] = "an earlier book";
  f.Compile();
  EXPECT_EQ(f.OnlyMessage().text,
            "There was an error finding the file:\r\n\r\nPlease check that all files are "
            "installed correctly.");
  EXPECT_EQ(f.OnlyMessage().icon, Icon::Critical);
  EXPECT_EQ(f.files.contents[kOut + "Garden.exe"], "an earlier book");
  EXPECT_TRUE(f.resources.log.empty());
}

TEST(Compile, AStubCopyThatFailsLeavesNothingBehind) {
  BuildFixture f;
  f.w().txtoutfolder.SetText("gone" + kSep);
  f.files.failWrites["gone" + kSep + "Garden.exe.partial"] = "the disk is full";
  f.Compile();
  EXPECT_NE(f.OnlyMessage().text.find("Number: 61"), std::string::npos);
  EXPECT_EQ(f.files.writes.size(), 0u);
}

TEST(Compile, FailuresWhileWritingLeaveNoBookAndKeepAnEarlierOne) {
  struct Case {
    const char* name;
    int failBegin, failUpdate, failCommit;
    const char* failRead;
    std::string message;
  };
  const Case cases[] = {
      {"settings update cannot begin", 1, 0, 0, nullptr,
       "There was an error while creating your e-book.  Please try again.\r\n\r\n"
       "Not a Windows program."},
      {"settings entry cannot be written", 0, 1, 0, nullptr,
       "There was an error while creating your e-book.  Please try again.\r\n\r\n"
       "The entry cannot be written."},
      {"settings commit fails", 0, 0, 1, nullptr,
       "There was an error while creating your e-book.  Please try again.\r\n\r\n"
       "The disk is full."},
      {"a checked file cannot be read", 0, 0, 0, "logo.gif",
       "Your e-book was not created, because this file could not be added to it:\r\n\r\n" + kBook +
           "logo.gif\r\n\r\nLocked by another program."},
      {"a file entry cannot be written", 0, 3, 0, nullptr,
       "Your e-book was not created, because this file could not be added to it:\r\n\r\n" + kBook +
           "logo.gif\r\n\r\nThe entry cannot be written."},
      {"the files' commit fails", 0, 0, 2, nullptr,
       "Your e-book was not created, because this file could not be added to it:\r\n\r\n" + kOut +
           "Garden.exe.partial\r\n\r\nThe disk is full."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BuildFixture f;
    f.files.contents[kOut + "Garden.exe"] = "an earlier book";
    f.resources.failBegin = c.failBegin;
    f.resources.failUpdate = c.failUpdate;
    f.resources.failCommit = c.failCommit;
    if (c.failRead != nullptr) f.files.failReads[kBook + c.failRead] = "locked by another program";
    f.Compile();
    EXPECT_EQ(f.OnlyMessage().text, c.message);
    EXPECT_EQ(f.OnlyMessage().title, "Compile Error");
    EXPECT_EQ(f.OnlyMessage().icon, Icon::Critical);
    EXPECT_EQ(f.files.contents[kOut + "Garden.exe"], "an earlier book");
    EXPECT_EQ(f.files.contents.count(kOut + "Garden.exe.partial"), 0u);
    EXPECT_EQ(f.w().Window().GetMousePointer(), ui::MousePointer::Default);
  }
}

TEST(Compile, RefusesNamesTheBookCannotKeepApart) {
  BuildFixture f;
  f.w().lstFiles.Add("INDEX.HTM");
  f.w().lstFiles.SetChecked(3, true);
  f.Compile();
  EXPECT_EQ(f.OnlyMessage().text,
            "Two checked files would have the same name in the e-book:\r\n\r\nindex.htm\r\n"
            "INDEX.HTM\r\n\r\nPlease uncheck one of them.");
  EXPECT_TRUE(f.resources.log.empty());

  BuildFixture g;
  g.w().lstFiles.Add("日本.htm");
  g.w().lstFiles.SetChecked(3, true);
  g.Compile();
  EXPECT_NE(g.OnlyMessage().text.find("日本.htm"), std::string::npos);
  EXPECT_TRUE(g.resources.log.empty());
}

TEST(Compile, TheTableOfContentsGoesInFrontOfTheIndexPageOnce) {
  BuildFixture f;
  workspace::FrmMain& w = f.w();
  w.chkTOC.SetValue(1);
  w.lstTOC.Add("index.htm");
  w.lstTOC.Add("Tom's page.htm");
  w.lstTOC.Add("notes.txt");
  w.lstTOC.SetChecked(1, true);
  w.lstTOC.SetChecked(2, true);
  f.Compile();
  const std::string page =
      "<h2 align='left'>Table of Contents</h2>\r\n"
      "<A HREF='Tom&#39;s page.htm'>Tom&#39;s page</A><BR>\r\n"
      "<A HREF='notes.txt'>notes</A><BR>\r\n"
      "<p>Welcome</p>\r\n";
  EXPECT_EQ(f.files.contents[kBook + "index.htm"], page);
  EXPECT_TRUE(w.TocInserted);
  f.Compile();  // a second build in the same window leaves the page alone
  EXPECT_EQ(f.files.contents[kBook + "index.htm"], page);
}

TEST(Compile, AnIndexPageThatCannotBeRewrittenStaysWhole) {
  BuildFixture f;
  workspace::FrmMain& w = f.w();
  w.chkTOC.SetValue(1);
  w.lstTOC.Add("index.htm");
  w.lstTOC.SetChecked(0, true);
  f.files.failWrites[kBook + "index.htm"] = "the file is read-only";
  f.Compile();
  EXPECT_EQ(f.OnlyMessage().text,
            "An error has occurred.  Please close this program and try again.\r\n\r\n"
            "Number: 61\r\nThe file is read-only.");
  EXPECT_EQ(f.files.contents[kBook + "index.htm"], "<p>Welcome</p>");
  EXPECT_TRUE(w.TocInserted);  // it counts: the next build does not try again
  EXPECT_TRUE(f.resources.log.empty());
}

}  // namespace
}  // namespace vexmar::build
