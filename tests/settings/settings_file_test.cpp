// Save and Open of the settings file on the headless main window.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/new_project.h"
#include "settings/settings_commands.h"
#include "settings/settings_file.h"
#include "support/garden_project.h"
#include "support/main_window_fixture.h"
#include "support/temp_folder.h"

namespace vexmar::settings {
namespace {

using testing::Checks;
using testing::Entries;
using testing::FakeFileSystem;
using testing::MainWindowFixture;
using testing::TempFolder;
using Names = std::vector<std::string>;

constexpr const char* kCaption = "Vexmar E-book Compiler";

struct SettingsFixture : MainWindowFixture {
  SettingsFixture() : MainWindowFixture(files) { w().Window().SetCaption(kCaption); }
  FakeFileSystem files;

  std::string Save(const std::string& path = "project.ebc") {
    modal.saveNames.push_back(path);
    SaveSettings(w());
    return files.contents[path];
  }
  void Open(const std::string& bytes) {
    files.contents["in.ebc"] = bytes;
    modal.openNames.push_back("in.ebc");
    OpenSettings(w());
  }
};

TEST(SaveSettings, AClearedWindowGivesThePlaceholderFile) {
  SettingsFixture f;
  EXPECT_EQ(
      f.Save(),
      "\r\n\r\n\r\n\r\n\r\nblank:blank\r\n\r\n0\r\nblank:blank\r\n\r\n\r\nblank\r\nblank\r\n");
  ASSERT_EQ(f.modal.fileDialogs.size(), 1u);
  EXPECT_EQ(f.modal.fileDialogs[0].title, "Save Settings File");
  EXPECT_EQ(f.modal.fileDialogs[0].filter, "Settings File|*.ebc");
  EXPECT_TRUE(f.modal.shown.empty());  // a save that works says nothing
}

TEST(SaveSettings, AFullProjectGivesItsLinesByteForByte) {
  SettingsFixture f;
  f.w().txtpath.SetText("x");  // so the switch asks nothing while it is filled
  testing::FillGardenProject(f.w(), "C:\\Books\\Garden\\");
  EXPECT_EQ(f.Save(), testing::GardenSettingsFile("C:\\Books\\Garden\\"));
}

TEST(SaveSettings, ListLinesAndTheContentsListRule) {
  SettingsFixture f;
  workspace::FrmMain& w = f.w();
  w.txtpath.SetText("book/");  // so the switch asks nothing
  w.lstFiles.Add("only.htm");
  EXPECT_EQ(SplitSettingsLines(f.Save())[5], "only.htm");  // one entry, no ":"

  w.chkTOC.SetValue(1);  // checked, contents list empty
  std::vector<std::string> lines = SplitSettingsLines(f.Save());
  EXPECT_EQ(lines[7], "1");
  EXPECT_EQ(lines[8], "blank:blank");
  EXPECT_EQ(lines[9], "");  // the lines after it stay in place
  EXPECT_EQ(lines.size(), 14u);

  w.lstTOC.Add("a.htm");
  w.lstTOC.Add("b.htm");
  EXPECT_EQ(SplitSettingsLines(f.Save())[8], "a.htm:b.htm");
  w.chkTOC.SetValue(0);  // unchecked: the contents list is not stored
  EXPECT_EQ(SplitSettingsLines(f.Save())[8], "blank:blank");
  w.chkTOC.SetValue(2);
  EXPECT_EQ(SplitSettingsLines(f.Save())[8], "blank:blank");
}

TEST(SaveSettings, CancelWritesNothingAndATypedNameIsTakenAsItIs) {
  SettingsFixture f;
  f.modal.saveNames.push_back("");
  SaveSettings(f.w());
  EXPECT_TRUE(f.files.writes.empty());
  f.Save("my project");
  EXPECT_EQ(f.files.writes, Names{"my project"});
}

TEST(SaveSettings, AFailedSaveIsReportedAndKeepsTheOldFile) {
  SettingsFixture f;
  f.files.contents["full.ebc"] = "old settings";
  f.files.failWrites["full.ebc"] = "the disk is full";
  f.modal.saveNames.push_back("full.ebc");
  SaveSettings(f.w());
  ASSERT_EQ(f.modal.shown.size(), 1u);
  EXPECT_EQ(f.modal.shown[0].text,
            "Your settings were not saved to the file:\r\n\r\nfull.ebc\r\n\r\nThe disk is full.");
  EXPECT_EQ(f.modal.shown[0].title, kCaption);
  EXPECT_EQ(f.modal.shown[0].icon, dialogs::Icon::Critical);
  EXPECT_EQ(f.files.contents["full.ebc"], "old settings");
}

TEST(SaveSettings, AReadOnlySettingsFileOnDiskIsNotReplaced) {
  TempFolder dir;
  const std::string path = dir.Write("locked.ebc", "old settings");
  namespace stdfs = std::filesystem;
  stdfs::permissions(stdfs::u8path(path), stdfs::perms::all & ~stdfs::perms::owner_write &
                                              ~stdfs::perms::group_write &
                                              ~stdfs::perms::others_write);
  MainWindowFixture f;  // the real file system
  f.modal.saveNames.push_back(path);
  SaveSettings(f.w());
  stdfs::permissions(stdfs::u8path(path), stdfs::perms::owner_write, stdfs::perm_options::add);
  ASSERT_EQ(f.modal.shown.size(), 1u);
  EXPECT_NE(f.modal.shown[0].text.find("The file is read-only."), std::string::npos);
  EXPECT_EQ(dir.Read("locked.ebc"), "old settings");
}

TEST(Settings, ARoundTripRestoresEveryField) {
  SettingsFixture f;
  workspace::FrmMain& w = f.w();
  w.txttitle.SetText("Café: Notes");  // ":" in a text line comes back unchanged
  w.txtAuthor.SetText("blank");       // and so does the placeholder word
  w.txtURLText.SetText("More notes");
  w.txtURL.SetText("www.example.com");
  w.txtpath.SetText("typed folder/");
  w.ProjectFolder = "chosen folder/";  // the file stores txtpath, not this
  for (const char* name : {"index.htm", "Chapter 1.html", "logo.gif"}) w.lstFiles.Add(name);
  w.lstFiles.SetChecked(0, true);
  w.txthomepage.SetText("index.htm");
  w.chkTOC.SetValue(1);
  w.lstTOC.Add("index.htm");
  w.lstTOC.Add("Chapter 1.html");
  w.lstTOC.SetChecked(1, true);
  w.txtoutfolder.SetText("out/");
  w.txtoutfile.SetText("Garden.exe");
  const std::string bytes = f.Save();
  EXPECT_EQ(bytes.substr(0, 13), "Caf\xE9: Notes\r\n");  // the ANSI code page on disk

  settings::NewProject(w);
  f.Open(bytes);
  EXPECT_EQ(w.txttitle.Text(), "Café: Notes");
  EXPECT_EQ(w.txtAuthor.Text(), "blank");
  EXPECT_EQ(w.txtURLText.Text(), "More notes");
  EXPECT_EQ(w.txtURL.Text(), "www.example.com");
  EXPECT_EQ(w.txtpath.Text(), "typed folder/");
  EXPECT_EQ(w.ProjectFolder, "typed folder/");
  EXPECT_EQ(Entries(w.lstFiles), (Names{"index.htm", "Chapter 1.html", "logo.gif"}));
  EXPECT_EQ(Checks(w.lstFiles), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(w.txthomepage.Text(), "index.htm");
  EXPECT_EQ(w.chkTOC.Value(), 1);
  EXPECT_TRUE(w.lstTOC.Visible());
  EXPECT_EQ(Entries(w.lstTOC), (Names{"index.htm", "Chapter 1.html"}));
  EXPECT_EQ(Checks(w.lstTOC), (std::vector<bool>{false, false}));
  EXPECT_EQ(w.txtoutfolder.Text(), "out/");
  EXPECT_EQ(w.txtoutfile.Text(), "Garden.exe");
  ASSERT_EQ(f.modal.shown.size(), 1u);
  EXPECT_EQ(f.modal.shown[0].text, "Your settings have been loaded.");
  EXPECT_EQ(f.modal.shown[0].title, kCaption);
  EXPECT_EQ(f.modal.shown[0].icon, dialogs::Icon::None);
  EXPECT_EQ(f.files.writes.size(), 1u);  // opening writes nothing
}

TEST(OpenSettings, ListLinesByTheirPieces) {
  struct Case {
    const char* line;
    Names entries;
  };
  const Case cases[] = {
      {"blank:blank", {}},
      {"blank:a.htm:b.htm", {}},  // a first piece "blank" loads nothing after it
      {"Blank", {"Blank"}},       // the placeholder is matched with its case
      {"BLANK:x.htm", {"BLANK", "x.htm"}},
      {"a.htm::b.htm", {"a.htm", "", "b.htm"}},
      {"", {}},
      {"a.htm:", {"a.htm", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    SettingsFixture f;
    f.Open(std::string("\r\n\r\n\r\n\r\nbook/\r\n") + c.line + "\r\n");
    EXPECT_EQ(Entries(f.w().lstFiles), c.entries);
  }
}

TEST(OpenSettings, ShortAndOddFilesFillWhatTheyReach) {
  {
    SettingsFixture f;  // LF alone separates no lines
    f.Open("Title\nAuthor\nmore\n");
    EXPECT_EQ(f.w().txttitle.Text(), "Title\nAuthor\nmore\n");
    EXPECT_EQ(f.w().txtAuthor.Text(), "");
  }
  {
    SettingsFixture f;  // five lines: the text boxes only
    f.Open("t\r\na\r\nut\r\nu\r\nbook/");
    EXPECT_EQ(f.w().txtURL.Text(), "u");
    EXPECT_EQ(f.w().ProjectFolder, "book/");
    EXPECT_EQ(f.w().lstFiles.Count(), 0);
    EXPECT_EQ(f.w().chkTOC.Value(), 0);
    ASSERT_EQ(f.modal.shown.size(), 1u);
    EXPECT_EQ(f.modal.shown[0].text, "Your settings have been loaded.");
  }
  for (const char* toc : {"3", "-1", "x", "1.0", " 1", ""}) {
    SCOPED_TRACE(toc);
    SettingsFixture f;  // unusable numbers leave the switch unchecked
    f.Open(std::string("\r\n\r\n\r\n\r\nbook/\r\nblank:blank\r\n\r\n") + toc + "\r\n");
    EXPECT_EQ(f.w().chkTOC.Value(), 0);
  }
  {
    SettingsFixture f;  // an empty file still loads, and clears the window
    f.w().txttitle.SetText("old");
    f.Open("");
    EXPECT_EQ(f.w().txttitle.Text(), "");
    EXPECT_EQ(f.modal.shown.size(), 1u);
  }
}

TEST(OpenSettings, GrayedAndCheckedSwitchesRunTheirReaction) {
  {
    SettingsFixture f;
    f.Open("\r\n\r\n\r\n\r\nbook/\r\nblank:blank\r\n\r\n2\r\na.htm\r\n");
    EXPECT_EQ(f.w().chkTOC.Value(), 2);
    EXPECT_FALSE(f.w().lstTOC.Visible());
    EXPECT_EQ(Entries(f.w().lstTOC), Names{"a.htm"});
  }
  {
    // Checked with no project folder: the switch's first run asks for a
    // folder, unchecks itself and opens the browser, all inside the load.
    SettingsFixture f;
    f.Open("\r\n\r\n\r\n\r\n\r\nblank:blank\r\n\r\n1\r\na.htm\r\n");
    ASSERT_EQ(f.modal.shown.size(), 2u);
    EXPECT_EQ(f.modal.shown[0].text, "Please select a project folder first.");
    EXPECT_EQ(f.modal.browsed.size(), 1u);
    EXPECT_EQ(f.w().chkTOC.Value(), 0);
    EXPECT_EQ(f.modal.shown[1].text, "Your settings have been loaded.");
  }
}

TEST(OpenSettings, AFileThatCannotBeReadLeavesTheWindowAsItWas) {
  SettingsFixture f;
  f.w().txttitle.SetText("my book");
  f.w().lstFiles.Add("a.htm");
  f.modal.openNames.push_back("missing.ebc");
  OpenSettings(f.w());
  EXPECT_EQ(f.w().txttitle.Text(), "my book");
  EXPECT_EQ(f.w().lstFiles.Count(), 1);
  ASSERT_EQ(f.modal.shown.size(), 1u);
  EXPECT_EQ(f.modal.shown[0].text,
            "The settings file could not be opened:\r\n\r\nmissing.ebc\r\n\r\nThe file or its "
            "folder does not exist.  Your project was left as it was.");
  EXPECT_EQ(f.modal.shown[0].icon, dialogs::Icon::Critical);

  f.modal.openNames.push_back("");  // cancelled: nothing at all happens
  OpenSettings(f.w());
  EXPECT_EQ(f.modal.shown.size(), 1u);
  EXPECT_EQ(f.w().txttitle.Text(), "my book");
}

TEST(OpenSettings, AListLinePastTheListsLimitLoadsTheFirstEntries) {
  SettingsFixture f;
  std::string line = "p0.htm";
  for (int i = 1; i < ui::CheckList::kMaxEntries + 50; ++i)
    line += ":p" + std::to_string(i) + ".htm";
  f.Open("\r\n\r\n\r\n\r\nbook/\r\n" + line + "\r\nhome.htm\r\n");
  EXPECT_EQ(f.w().lstFiles.Count(), ui::CheckList::kMaxEntries);
  EXPECT_EQ(f.w().txthomepage.Text(), "home.htm");  // the steps after it still run
}

}  // namespace
}  // namespace vexmar::settings
