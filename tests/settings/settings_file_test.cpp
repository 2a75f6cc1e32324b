// Save, Open and New of the settings file on the headless main window.
#include <gtest/gtest.h>

#include "settings/new_project.h"
#include "settings/settings_commands.h"
#include "settings/settings_file.h"
#include "support/main_window_fixture.h"

namespace vexmar::settings {
namespace {

using dialogs::Icon;
using testing::Box;
using testing::Entries;
using Names = std::vector<std::string>;

constexpr const char* kCaption = "Vexmar E-book Compiler";
constexpr const char* kLoaded = "Your settings have been loaded.";
// The four text lines empty and a project folder: what comes next is the file list.
constexpr const char* kHead = "\r\n\r\n\r\n\r\nbook/\r\n";

// One project state and the settings file it must save as byte for byte;
// `folder` ends with a separator.
void FillGardenProject(workspace::FrmMain& w, const std::string& folder) {
  w.txttitle.SetText("Garden Notes: Café edition");
  w.txtAuthor.SetText("A. Reader");
  w.txtURLText.SetText("More notes");
  w.txtURL.SetText("www.example.com");
  w.txtpath.SetText(folder);
  w.ProjectFolder = folder;
  for (const char* name : {"index.htm", "Chapter 1.html", "logo.gif"}) w.lstFiles.Add(name);
  w.txthomepage.SetText("index.htm");
  w.chkTOC.SetValue(1);
  w.lstTOC.Add("index.htm");
  w.lstTOC.Add("Chapter 1.html");
  w.txtoutfolder.SetText(folder + "Output" + folder.back());
  w.txtoutfile.SetText("Garden.exe");
}

std::string GardenSettingsFile(const std::string& folder) {
  return "Garden Notes: Caf\xE9 edition\r\nA. Reader\r\nMore notes\r\nwww.example.com\r\n" +
         folder + "\r\nindex.htm:Chapter 1.html:logo.gif\r\nindex.htm\r\n1\r\n" +
         "index.htm:Chapter 1.html\r\n" + folder + "Output" + folder.back() +
         "\r\nGarden.exe\r\nblank\r\nblank\r\n";
}

struct SettingsFixture : testing::MainWindowFixture {
  SettingsFixture() : MainWindowFixture(files) { w().Window().SetCaption(kCaption); }
  testing::FakeFileSystem files;

  std::string Save(const std::string& path = "project.ebc") {
    modal.saveNames.push_back(path);
    SaveSettings(w());
    return files.contents[path];
  }
  std::vector<std::string> SavedLines() { return SplitSettingsLines(Save()); }
  void Open(const std::string& bytes) {
    files.contents["in.ebc"] = bytes;
    modal.openNames.push_back("in.ebc");
    OpenSettings(w());
  }
  auto OnlyBox() const {
    EXPECT_EQ(modal.shown.size(), 1u);
    return Box(modal.shown.empty() ? dialogs::Message{} : modal.shown.back());
  }
};

TEST(SaveSettings, WritesTheFileByteForByteOrTellsWhyNotKeepingTheOldOne) {
  SettingsFixture f;
  EXPECT_EQ(
      f.Save(),
      "\r\n\r\n\r\n\r\n\r\nblank:blank\r\n\r\n0\r\nblank:blank\r\n\r\n\r\nblank\r\nblank\r\n");
  ASSERT_EQ(f.modal.fileDialogs.size(), 1u);
  EXPECT_EQ(f.modal.fileDialogs[0].title, "Save Settings File");
  EXPECT_EQ(f.modal.fileDialogs[0].filter, "Settings File|*.ebc");
  FillGardenProject(f.w(), "C:\\Books\\Garden\\");
  EXPECT_EQ(f.Save("my project"), GardenSettingsFile("C:\\Books\\Garden\\"));
  f.modal.saveNames.push_back("");  // cancelled
  SaveSettings(f.w());
  EXPECT_EQ(f.files.writes, (Names{"project.ebc", "my project"}));  // a typed name as it is
  EXPECT_TRUE(f.modal.shown.empty());

  f.files.contents["full.ebc"] = "old settings";
  f.files.failWrites["full.ebc"] = Fail("the disk is full", ErrorKind::DiskFull);
  f.Save("full.ebc");
  EXPECT_EQ(f.OnlyBox(), Box("Your settings were not saved to the file:\r\n\r\nfull.ebc\r\n\r\n"
                             "The disk is full.",
                             kCaption, Icon::Critical));
  EXPECT_EQ(f.files.contents["full.ebc"], "old settings");
  for (const int unchecked : {0, 2}) {  // the contents list is stored only while it is checked
    f.w().chkTOC.SetValue(unchecked);
    EXPECT_EQ(f.SavedLines()[8], "blank:blank");
  }
}

TEST(Settings, ARoundTripRestoresEveryFieldAndOpenWritesNothing) {
  SettingsFixture f;
  workspace::FrmMain& w = f.w();
  FillGardenProject(w, "typed folder/");
  w.txttitle.SetText("Café: Notes");  // ":" in a text line comes back unchanged
  w.txtAuthor.SetText("blank");       // and so does the placeholder word
  const std::string expected = testing::Snapshot(w);
  w.ProjectFolder = "chosen folder/";  // the file stores txtpath, not this
  w.lstFiles.SetChecked(0, true);      // nor check marks
  w.lstTOC.SetChecked(1, true);
  const std::string bytes = f.Save();

  NewProject(w);
  f.Open(bytes);
  EXPECT_EQ(testing::Snapshot(w), expected);
  EXPECT_EQ(f.OnlyBox(), Box(kLoaded, kCaption, Icon::None));
  EXPECT_EQ(f.files.writes.size(), 1u);
}

TEST(OpenSettings, ListLinesByTheirPieces) {
  const std::pair<const char*, Names> cases[] = {
      {"blank:a.htm:b.htm", {}},  // a first piece "blank" loads nothing after it
      {"Blank", {"Blank"}},       // the placeholder is matched with its case
      {"BLANK:x.htm", {"BLANK", "x.htm"}},
      {"a.htm::b.htm", {"a.htm", "", "b.htm"}},
      {"", {}},
      {"a.htm:", {"a.htm", ""}},
  };
  for (const auto& [line, entries] : cases) {
    SCOPED_TRACE(line);
    SettingsFixture f;
    f.Open(kHead + std::string(line) + "\r\n");
    EXPECT_EQ(Entries(f.w().lstFiles), entries);
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
  }
  // Only a whole 0, 1 or 2 sets the switch; grayed, it hides the loaded list.
  for (const auto& [toc, value] :
       {std::pair{"2", 2}, {"3", 0}, {"-1", 0}, {"x", 0}, {"1.0", 0}, {" 1", 0}, {"", 0}}) {
    SCOPED_TRACE(toc);
    SettingsFixture f;
    f.Open(kHead + std::string("blank:blank\r\n\r\n") + toc + "\r\na.htm\r\n");
    EXPECT_EQ(f.w().chkTOC.Value(), value);
    EXPECT_FALSE(f.w().lstTOC.Visible());
    EXPECT_EQ(Entries(f.w().lstTOC), Names{"a.htm"});
  }
  SettingsFixture f;  // an empty file still loads, and clears the window
  f.w().txttitle.SetText("old");
  f.Open("");
  EXPECT_EQ(f.w().txttitle.Text(), "");
  EXPECT_EQ(f.OnlyBox(), Box(kLoaded, kCaption, Icon::None));
}

// Checked with no project folder: the switch's first run asks for a folder,
// unchecks itself and opens the browser, all inside the load.
TEST(OpenSettings, ACheckedSwitchRunsItsReaction) {
  SettingsFixture f;
  f.Open("\r\n\r\n\r\n\r\n\r\nblank:blank\r\n\r\n1\r\na.htm\r\n");
  ASSERT_EQ(f.modal.shown.size(), 2u);
  EXPECT_EQ(f.modal.shown[0].text, "Please select a project folder first.");
  EXPECT_EQ(f.modal.browsed.size(), 1u);
  EXPECT_EQ(f.w().chkTOC.Value(), 0);
  EXPECT_EQ(f.modal.shown[1].text, kLoaded);
}

TEST(OpenSettings, AFileThatCannotBeReadLeavesTheWindowAsItWas) {
  SettingsFixture f;
  f.w().txttitle.SetText("my book");
  f.w().lstFiles.Add("a.htm");
  const std::string before = testing::Snapshot(f.w());
  f.modal.openNames = {"missing.ebc", ""};  // the second is cancelled: nothing at all happens
  OpenSettings(f.w());
  OpenSettings(f.w());
  EXPECT_EQ(testing::Snapshot(f.w()), before);
  EXPECT_EQ(f.OnlyBox(), Box("The settings file could not be opened:\r\n\r\nmissing.ebc\r\n\r\n"
                             "The file or its folder does not exist.  Your project was left as "
                             "it was.",
                             kCaption, Icon::Critical));
}

TEST(NewProject, GivesTheWindowAsItStartsAndAgainDoesNothing) {
  SettingsFixture f;
  workspace::FrmMain& w = f.w();
  const std::string fresh = testing::Snapshot(w);
  FillGardenProject(w, "folder/");  // the switch asks for no folder: txtpath is set
  w.lstFiles.SetChecked(0, true);
  for (int run = 0; run < 2; ++run) {  // the second on an empty window: nothing runs
    NewProject(w);
    EXPECT_EQ(testing::Snapshot(w), fresh);
    EXPECT_EQ(w.Window().Caption(), kCaption);
    EXPECT_EQ(w.TocClickCount(), 2);  // checked once, unchecked by New
  }
  EXPECT_TRUE(f.modal.shown.empty() && f.modal.browsed.empty());
}

}  // namespace
}  // namespace vexmar::settings
