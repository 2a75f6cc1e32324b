// Compile on the headless main window: the questions, the checks in their
// order, the output folder, the outcomes and the failures the author is told of.
#include "build/build_command.h"

#include <gtest/gtest.h>

#include <functional>

#include "book/digest_entry.h"
#include "build/fake_resource_updates.h"
#include "build/project_bounds.h"
#include "build/version_info.h"
#include "platform/text/short_date.h"
#include "platform/text/text.h"
#include "support/main_window_fixture.h"
#include "workspace/mod_main.h"

namespace vexmar::build {
namespace {

using dialogs::Answer;
using dialogs::Icon;
using testing::Box;
using workspace::FrmMain;

constexpr const char* kTitle = kApplicationTitle;
const std::string kSep(1, fs::PathSeparator());
const std::string kBook = "book" + kSep;
const std::string kOut = "out" + kSep;
const std::string kStub = "program" + kSep + "dmsfx.dat";
const std::string kWelcome = "<p>Welcome</p>";
const std::string kEarlier = "an earlier book";

struct BuildFixture : testing::MainWindowFixture {
  BuildFixture() : MainWindowFixture(files) {
    FrmMain& m = w();
    m.Window().SetCaption(kTitle);
    files.contents = {{kStub, "MZ stub"},
                      {kBook + "index.htm", kWelcome},
                      {kBook + "logo.gif", "GIF89a"},
                      {kBook + "notes.txt", "notes"},
                      {kOut + "Garden.exe", kEarlier}};
    files.folders = {kBook, kOut};
    resources.sources = &files.contents;
    m.ProjectFolder = kBook;
    for (const auto& [box, text] : {std::pair{&m.txtpath, kBook},
                                    {&m.txtoutfolder, kOut},
                                    {&m.txthomepage, "index.htm"},
                                    {&m.txttitle, "Garden Notes"},
                                    {&m.txtAuthor, "A. Reader"},
                                    {&m.txtURLText, "More notes"},
                                    {&m.txtoutfile, "Garden"}}) {
      box->SetText(text);
    }
    for (const char* name : {"index.htm", "logo.gif", "notes.txt"}) Check(name, name[0] != 'n');
  }
  void Check(const std::string& name, bool checked = true) {
    w().lstFiles.Add(name);
    w().lstFiles.SetChecked(w().lstFiles.Count() - 1, checked);
  }
  // Switches the table of contents on with these entries, the first `checked` of them checked.
  void Toc(std::initializer_list<const char*> entries, int checked) {
    w().chkTOC.SetValue(1);
    for (const char* entry : entries) w().lstTOC.Add(entry);
    for (int i = 0; i < checked; ++i) w().lstTOC.SetChecked(i, true);
  }
  // Presses Compile, answering Yes to every question; returns the boxes after the questions.
  std::vector<dialogs::Message> Compile() {
    modal.answers.assign(4, Answer::Yes);
    modal.shown.clear();
    build::Compile(w(), setup);
    std::vector<dialogs::Message> out;
    for (const auto& box : modal.shown) {
      if (box.buttons == dialogs::Buttons::Ok) out.push_back(box);
    }
    return out;
  }
  auto CompileToOneBox() {
    const std::vector<dialogs::Message> outcomes = Compile();
    EXPECT_EQ(outcomes.size(), 1u);
    return Box(outcomes.empty() ? dialogs::Message{} : outcomes.back());
  }

  testing::FakeFileSystem files;
  testing::FakeResourceUpdates resources;
  BuildSetup setup{resources, kStub, [] { return BuildDay{{2026, 3, 14}, "3/14/2026"}; }};
};

TEST(Compile, AsksFirstAndAgainForATableOfContentsAndNoEndsIt) {
  BuildFixture f;
  f.modal.answers = {Answer::No};
  EXPECT_EQ(Compile(f.w(), f.setup), CompileResult::Cancelled);
  f.w().chkTOC.SetValue(1);
  f.modal.answers = {Answer::Yes, Answer::No};
  EXPECT_EQ(Compile(f.w(), f.setup), CompileResult::Cancelled);
  ASSERT_EQ(f.modal.shown.size(), 3u);
  EXPECT_EQ(Box(f.modal.shown[0]), Box("Are you ready to build your e-book now?", "Confirm",
                                       Icon::None, dialogs::Buttons::YesNo));
  EXPECT_EQ(Box(f.modal.shown[2]),
            Box("A table of contents will be written at the top of your home page, in the page's "
                "own file in the project folder.  Do you want to go on?",
                "Confirm", Icon::Question, dialogs::Buttons::YesNo));
  EXPECT_TRUE(f.resources.log.empty());  // No ends it before any check
}

// Every fault at once: each Compile names the first one left, writes
// nothing, and the fault is then put right.
TEST(Compile, ChecksComeInTheirOrderWithTheirMessages) {
  BuildFixture f;
  FrmMain& w = f.w();
  w.txtpath.SetText("C:" + kBook);  // the folders may hold a colon
  w.txtoutfolder.SetText("C:" + kOut);
  w.txtURL.SetText("http://example.com");  // the first text box in the window's order
  for (ui::TextBox* box : {&w.txttitle, &w.txtAuthor, &w.txtoutfile}) box->SetText("");
  w.txthomepage.SetText("   ");
  w.lstFiles.SetChecked(0, false);
  w.lstFiles.SetChecked(1, false);
  f.Toc({"index.htm"}, 0);
  struct Step {
    std::string text;
    Icon icon;
    const char* focus;  // the control given the focus, if any
    bool marked;        // ... and coloured yellow
    std::function<void()> fix;
    const char* title = kTitle;
  };
  const Step steps[] = {
      {"Please remove all ':' characters", Icon::None, "txtURL", false,
       [&] { w.txtURL.SetText(""); }, "Data Error"},
      {"You need to include the name of your default index page.", Icon::Information, "txthomepage",
       true, [&] { w.txthomepage.SetText("stärt.htm"); }},
      {"The index page name you entered was not found.\r\n\r\n" + kBook + "stärt.htm",
       Icon::Critical, "txthomepage", true,
       [&] {
         EXPECT_EQ(w.txthomepage.SelLength(), 9);  // characters, not bytes
         w.txthomepage.SetText("index.htm");
       }},
      {"You have not entered in a name for your ebook. A default name will be provided for you.",
       Icon::Information, nullptr, false, [] {}},  // told, and the build goes on
      {"Please enter an ebook title.", Icon::None, "txttitle", true,
       [&] { w.txttitle.SetText(" "); }},  // a blank is a title
      {"Please enter the author of this ebook.", Icon::None, "txtAuthor", true,
       [&] { w.txtAuthor.SetText("A. Reader"); }},
      {"Please select the files to include in your project before creating your E-book.",
       Icon::None, "lstFiles", false,
       [&] {
         w.lstFiles.SetChecked(0, true);
         f.Check("日本.htm");  // passes: a name in any script is stored as it is
         f.Check("Αθήνα.htm");
         f.Check("ΑΘΉΝΑ.htm");
       }},
      {"Please select the files to include in your Table of Contents before creating your "
       "E-book.",
       Icon::None, "lstTOC", false, [&] { w.lstTOC.SetChecked(0, true); }},
      {"Two checked files would have the same name in the e-book:\r\n\r\nΑθήνα.htm\r\n"
       "ΑΘΉΝΑ.htm\r\n\r\nPlease uncheck one of them.",
       Icon::Critical, "lstFiles", false,
       [&] {
         w.lstFiles.SetChecked(5, false);
         f.Check("INDEX.HTM");
       }},
      {"Two checked files would have the same name in the e-book:\r\n\r\nindex.htm\r\n"
       "INDEX.HTM\r\n\r\nPlease uncheck one of them.",
       Icon::Critical, "lstFiles", false,
       [&] {
         for (int i : {3, 4, 6}) w.lstFiles.SetChecked(i, false);
       }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.text);
    const std::vector<dialogs::Message> boxes = f.Compile();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(Box(boxes[0]), Box(step.text, step.title, step.icon));
    if (step.focus != nullptr) {
      const ui::Control& focused = *w.Window().Find(step.focus);
      EXPECT_TRUE(focused.HasFocus());
      EXPECT_TRUE(!step.marked ||
                  static_cast<const ui::TextBox&>(focused).BackColor() == ui::kYellow);
    }
    EXPECT_TRUE(f.resources.log.empty() && f.files.writes.empty());
    step.fix();
  }
  EXPECT_EQ(std::get<1>(f.CompileToOneBox()), "Compile Finished.");
  EXPECT_EQ(w.txtoutfile.Text(), "MyEbook.exe");  // the default name, completed
}

// Each leaves no part-written book, keeps an earlier book and the index page
// as they were, and restores the mouse pointer.
TEST(Compile, FailuresNameTheFaultAndChangeNothing) {
  struct Case {
    void (*fault)(BuildFixture&);
    std::string text;
    Icon icon;
    const char* title = "Compile Error";
  };
  const std::string generic =
      "An error has occurred.  Please close this program and try again.\r\n\r\nNumber: ";
  const std::string fileFailed =
      "Your e-book was not created, because this file could not be added to it:\r\n\r\n";
  const std::string settingsFailed =
      "There was an error while creating your e-book.  Please try again.\r\n\r\n";
  const Case cases[] = {
      {// no project folder: the chooser is offered, the build does not resume
       [](BuildFixture& f) { f.w().ProjectFolder.clear(), f.modal.folders = {"elsewhere"}; },
       "No project files were found please select your project folder.", Icon::Information, kTitle},
      {[](BuildFixture& f) {  // an output folder that cannot be made
         f.w().txtoutfolder.SetText(kBook);
         f.files.failWrites[kBook + "Output" + kSep] =
             Fail("access is denied", ErrorKind::AccessDenied);
       },
       generic + "70\r\nAccess is denied.", Icon::None, kTitle},
      {[](BuildFixture& f) {  // an index page that cannot be rewritten
         f.Toc({"index.htm"}, 1);
         f.files.failWrites[kBook + "index.htm"] =
             Fail("the file is read-only", ErrorKind::ReadOnly);
       },
       generic + "70\r\nThe file is read-only.", Icon::None, kTitle},
      {[](BuildFixture& f) { f.files.contents.erase(kStub); },
       "There was an error finding the file:\r\n\r\nPlease check that all files are installed "
       "correctly.",
       Icon::Critical, kTitle},
      {[](BuildFixture& f) {  // a stub copy that fails
         f.files.failWrites[kOut + "Garden.exe.partial"] =
             Fail("the disk is full", ErrorKind::DiskFull);
       },
       generic + "61\r\nThe disk is full.", Icon::None, kTitle},
      {[](BuildFixture& f) { f.resources.failBegin = 1; },
       settingsFailed + "Not a Windows program.", Icon::Critical},
      {[](BuildFixture& f) { f.resources.failCommit = 1; },  // the settings entry's commit
       settingsFailed + "The disk is full.", Icon::Critical},
      {[](BuildFixture& f) {
         f.files.failReads[kBook + "logo.gif"] =
             Fail("locked by another program", ErrorKind::InUse);
       },
       fileFailed + kBook + "logo.gif\r\n\r\nLocked by another program.", Icon::Critical},
      {[](BuildFixture& f) {  // a page is read for the contents before anything is written
         f.files.failReads[kBook + "index.htm"] = Fail("locked by another program");
       },
       fileFailed + kBook + "index.htm\r\n\r\nLocked by another program.", Icon::Critical},
      {[](BuildFixture& f) { f.resources.failUpdate = 6; },  // after the version and contents
       fileFailed + kBook + "logo.gif\r\n\r\nThe entry cannot be written.", Icon::Critical},
      {[](BuildFixture& f) { f.resources.failCommit = 2; },  // the files' commit: the book
       "Your e-book was not created, because it could not be written:\r\n\r\n" + kOut +
           "Garden.exe\r\n\r\nThe disk is full.",
       Icon::Critical},
      {[](BuildFixture& f) {  // ... or a source file it reads
         f.resources.failCommit = 2;
         f.resources.commitFailsOn = kBook + "logo.gif";
       },
       fileFailed + kBook + "logo.gif\r\n\r\nLocked by another program.", Icon::Critical},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    BuildFixture f;
    c.fault(f);
    EXPECT_EQ(f.CompileToOneBox(), Box(c.text, c.title, c.icon));
    EXPECT_EQ(f.modal.browsed.size(), c.fault == cases[0].fault ? 1u : 0u);
    EXPECT_EQ(f.files.contents[kBook + "index.htm"], kWelcome);  // the page stays whole
    EXPECT_EQ(f.files.contents[kOut + "Garden.exe"], kEarlier);
    EXPECT_EQ(f.files.contents.count(kOut + "Garden.exe.partial"), 0u);
    EXPECT_EQ(f.w().Window().GetMousePointer(), ui::MousePointer::Default);
  }
}

// A settings file is text anyone can write: no entry or home page may lead
// the build to read or rewrite a file outside the project folder.
TEST(Compile, NamesLeadingOutOfTheProjectFolderAreRefusedBeforeAnythingIsWritten) {
  for (const char* name : {"../secret.txt", "sub\\..\\..\\x.htm", "/etc/hostname",
                           "\\\\server\\share\\x.htm", "C:x.htm"}) {
    SCOPED_TRACE(name);
    BuildFixture entry;
    entry.Check(name);
    entry.Toc({"index.htm"}, 1);
    EXPECT_EQ(entry.CompileToOneBox(),
              Box(std::string("This file is not in your project folder, so it cannot go into the "
                              "e-book:\r\n\r\n") +
                      name + "\r\n\r\nPlease uncheck it.",
                  kTitle, Icon::Critical));
    EXPECT_TRUE(entry.w().lstFiles.HasFocus());
    EXPECT_TRUE(entry.files.writes.empty() && entry.resources.log.empty());
  }
  BuildFixture home;
  home.files.contents["victim.txt"] = "not the author's";
  home.w().txthomepage.SetText(".." + kSep + "victim.txt");
  home.Toc({"index.htm"}, 1);
  EXPECT_EQ(
      std::get<0>(home.CompileToOneBox()),
      "The index page must be a file of your project folder:\r\n\r\n.." + kSep + "victim.txt");
  EXPECT_TRUE(home.w().txthomepage.HasFocus());
  EXPECT_TRUE(home.files.writes.empty() && home.resources.log.empty());
  EXPECT_FALSE(LeavesTheProjectFolder("images\\logo.gif"));  // a sub-folder stays inside
  EXPECT_FALSE(LeavesTheProjectFolder("a..b.htm"));
}

TEST(Compile, TheOutputNameIsCompletedWithExe) {
  for (const auto& [typed, result] : {std::pair{"Story", "Story.exe"},
                                      {"Story.EXE", "Story.EXE"},
                                      {"a.ex", "a.ex.exe"},
                                      {"   ", "MyEbook"}}) {
    BuildFixture f;
    f.w().txtoutfile.SetText(typed);
    f.w().txttitle.SetText("");  // stop at the title check: ".exe" is added after it
    f.Compile();
    EXPECT_EQ(f.w().txtoutfile.Text(), result) << typed;
  }
}

TEST(Compile, WritesTheSettingsEntryThenEveryCheckedFileAndTheirDigestInOneUpdate) {
  BuildFixture f;
  const std::string record =
      "Garden Notes:A. Reader:index.htm:3/14/2026:More notes::blank:blank:blank";
  EXPECT_EQ(f.CompileToOneBox(),
            Box("Your e-book has been created.  File saved to:\r\n\r\n" + kOut + "Garden.exe",
                "Compile Finished.", Icon::Information));
  // The reader's entries go into the same update, and the digest covers
  // them (what they hold: tests/cli/reader_entries_test.cpp).
  const auto written = [&](const std::string& entry) {
    for (const std::string& line : f.resources.log) {
      if (line.rfind(entry, 0) == 0) return line.substr(entry.size());
    }
    return std::string();
  };
  const std::string contents = written("update VEXMAR CONTENTS 1033 ");
  const std::string search = written("update VEXMAR SEARCH 1033 ");
  const std::string digest = book::WriteDigestEntry(
      {{"CUSTOM", "#101", book::Sha256Of(record)},
       {"VEXMAR", "CONTENTS", book::Sha256Of(contents)},
       {"VEXMAR", "SEARCH", book::Sha256Of(search)},
       {"#2110", "INDEX.HTM", book::Sha256Of(f.files.contents[kBook + "index.htm"])},
       {"#2110", "LOGO.GIF", book::Sha256Of(f.files.contents[kBook + "logo.gif"])}});
  const std::string partial = kOut + "Garden.exe.partial";
  EXPECT_EQ(f.resources.log,
            (std::vector<std::string>{
                "begin " + partial, "update CUSTOM 101 1033 " + record, "commit",
                "begin " + partial, "remove 16",
                "update 16 1 1033 " +
                    VersionResource({"Garden Notes", "A. Reader", "Garden.exe", {2026, 3, 14}}),
                "update VEXMAR CONTENTS 1033 " + contents, "update VEXMAR SEARCH 1033 " + search,
                "file 2110 INDEX.HTM 1033 " + kBook + "index.htm",
                "file 2110 LOGO.GIF 1033 " + kBook + "logo.gif",
                "update VEXMAR DIGEST 1033 " + digest, "commit"}));
  EXPECT_EQ(f.files.contents[kOut + "Garden.exe"], "MZ stub");  // the fake leaves the copy
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

TEST(Compile, TheTableOfContentsGoesInFrontOfTheIndexPageOnce) {
  BuildFixture f;
  f.Toc({"index.htm", "Tom's page.htm", "notes.txt"}, 0);
  f.w().lstTOC.SetChecked(1, true);
  f.w().lstTOC.SetChecked(2, true);
  f.Compile();
  const std::string page =
      "<h2 align='left'>Table of Contents</h2>\r\n"
      "<A HREF='Tom&#39;s page.htm'>Tom&#39;s page</A><BR>\r\n"
      "<A HREF='notes.txt'>notes</A><BR>\r\n" +
      kWelcome + "\r\n";
  EXPECT_EQ(f.files.contents[kBook + "index.htm"], page);
  f.Compile();  // a second build in the same window leaves the page alone
  EXPECT_EQ(f.files.contents[kBook + "index.htm"], page);

  // Another window (another run of the program) replaces the block with its own.
  BuildFixture next;
  next.files.contents[kBook + "index.htm"] = page;
  next.Toc({"index.htm", "Tom's page.htm", "notes.txt"}, 1);
  next.Compile();
  EXPECT_EQ(next.files.contents[kBook + "index.htm"],
            "<h2 align='left'>Table of Contents</h2>\r\n<A HREF='index.htm'>index</A><BR>\r\n" +
                kWelcome + "\r\n");

  BuildFixture g;  // a rewrite that failed counts too: the next build does not try again
  g.Toc({"index.htm"}, 1);
  g.files.failWrites[kBook + "index.htm"] = Fail("the file is read-only", ErrorKind::ReadOnly);
  g.Compile();
  g.files.failWrites.clear();
  g.Compile();
  EXPECT_EQ(g.files.contents[kBook + "index.htm"], kWelcome);
}

// SOURCE_DATE_EPOCH is a day in UTC whatever today is, across leap days and
// centuries; unset, the day is today's in the author's format.
TEST(BuildDay, SourceDateEpochIsTheDayWhateverTodayIs) {
  const auto today = [] { return text::Date{2031, 7, 4}; };
  EXPECT_EQ(ChooseBuildDay("951868799", today)->recordText, "2/29/2000");
  EXPECT_EQ(ChooseBuildDay("4107542400", today)->recordText, "3/1/2100");
  EXPECT_EQ(ChooseBuildDay(nullptr, today)->recordText, text::ShortDate(today()));
  EXPECT_FALSE(ChooseBuildDay("253402300800", today).ok());  // past 9999
}

std::string Utf16LeBytes(const std::string& utf8) {
  std::string out;
  for (const char16_t unit : text::Utf8ToUtf16(utf8)) {
    out += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  }
  return out;
}

// The block in the page's own encoding, after its byte-order mark; a block
// of an earlier build is recognised and replaced in every encoding.
TEST(Compile, TheTableOfContentsIsWrittenInTheIndexPagesEncoding) {
  const std::string utf8Block =
      "<h2 align='left'>Table of Contents</h2>\r\n<A HREF='Café.htm'>Café</A><BR>\r\n"
      "<A HREF='日本.htm'>日本</A><BR>\r\n";
  const std::string meta = "<meta http-equiv='Content-Type' content='text/html; charset=UTF-8'>";
  const std::string le = "\xFF\xFE", bom = "\xEF\xBB\xBF";
  const struct {
    const char* home;
    std::string page, expected;
  } cases[] = {
      {"index.htm", bom + "<p>été</p>", bom + utf8Block + "<p>été</p>\r\n"},
      {"index.htm", "<META charset=\"utf-8\"><p>été</p>",
       utf8Block + "<META charset=\"utf-8\"><p>été</p>\r\n"},
      {"index.htm", meta + "<p>été</p>", utf8Block + meta + "<p>été</p>\r\n"},
      {"index.htm", le + Utf16LeBytes("<p>été</p>"),
       le + Utf16LeBytes(utf8Block + "<p>été</p>\r\n")},
      {"index.htm", "<p>\xE9t\xE9</p>",
       "<h2 align='left'>Table of Contents</h2>\r\n<A HREF='Caf\xE9.htm'>Caf\xE9</A><BR>\r\n"
       "<A HREF='&#26085;&#26412;.htm'>&#26085;&#26412;</A><BR>\r\n<p>\xE9t\xE9</p>\r\n"},
      {"notes.txt", "\xE9t\xE9", "Table of Contents\r\n\r\nCaf\xE9\r\n??\r\n\xE9t\xE9\r\n"},
      // An older build's block hid the mark: it is replaced, and the mark comes first again.
      {"index.htm", "<h2 align='left'>Table of Contents</h2>\r\n" + bom + "<p>été</p>\r\n",
       bom + utf8Block + "<p>été</p>\r\n"},
      {"notes.txt", bom + "été", bom + "Table of Contents\r\n\r\nCafé\r\n日本\r\nété\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    std::string page = c.page;
    for (int window = 0; window < 2; ++window) {  // the second replaces the first's block
      BuildFixture f;
      f.w().txthomepage.SetText(c.home);
      f.files.contents[kBook + c.home] = page;
      f.Toc({"Café.htm", "日本.htm"}, 2);
      f.Compile();
      page = f.files.contents[kBook + c.home];
      EXPECT_EQ(page, c.expected);
    }
  }
}

}  // namespace
}  // namespace vexmar::build
