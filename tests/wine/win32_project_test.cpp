// A whole project through the real windows on Wine: the settings file saved
// and opened by the tool-bar buttons, byte for byte as on every platform,
// and the sample project compiled into an e-book that Windows' own resource
// loader and the viewer read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "build/build_command.h"
#include "program/main_program.h"
#include "support/garden_project.h"
#include "support/source_path.h"
#include "support/temp_folder.h"
#include "wine/message_pump.h"
#include "wine/win32_host.h"

namespace vexmar::workspace {
namespace {

namespace stdfs = std::filesystem;
using testing::Hwnd;
using testing::TempFolder;
using testing::Wide;

// A press of the button as the author's click makes it: through the
// window's own message, not by calling the reaction.
void Press(const ui::Control& button) {
  SendMessageW(Hwnd(button), BM_CLICK, 0, 0);
  testing::PumpMessages();
}

class Win32Project : public ::testing::Test {
 protected:
  Win32Project() { program.Window().Window().Show(); }

  build::BuildSetup BookSetup() {
    build::BuildSetup setup = build::DefaultBuildSetup(host.host);
    setup.stubPath = VEXMAR_VIEWER_STUB_PATH;
    return setup;
  }
  std::string LastMessage() const {
    return host.modal.shown.empty() ? "" : host.modal.shown.back().text;
  }

  testing::Win32Host host;
  program::MainProgram program{host.host, BookSetup(), [] {}};
  FrmMain& w = program.Window();
};

TEST_F(Win32Project, SavesAndOpensTheSettingsFileByteForByte) {
  TempFolder dir;
  testing::FillGardenProject(w, dir.Path());
  host.modal.saveNames = {dir.Path() + "garden.ebc"};
  Press(w.cmdSave);
  EXPECT_EQ(dir.Read("garden.ebc"), testing::GardenSettingsFile(dir.Path()));

  Press(w.cmdNew);
  EXPECT_FALSE(IsWindowVisible(Hwnd(w.lstTOC)));
  host.modal.openNames = {dir.Path() + "garden.ebc"};
  Press(w.cmdLoadFile);
  EXPECT_EQ(LastMessage(), "Your settings have been loaded.");
  EXPECT_EQ(w.txttitle.Text(), "Garden Notes: Café edition");
  EXPECT_EQ(w.ProjectFolder, dir.Path());
  EXPECT_EQ(w.lstFiles.Count(), 3);
  EXPECT_EQ(w.lstFiles.Entry(1), "Chapter 1.html");
  EXPECT_EQ(w.chkTOC.Value(), 1);
  EXPECT_TRUE(IsWindowVisible(Hwnd(w.lstTOC)));
  EXPECT_EQ(w.lstTOC.Count(), 2);
  EXPECT_EQ(w.txtoutfile.Text(), "Garden.exe");
}

// The bytes of one entry of a module, as FindResource and LoadResource give
// them; "?" when the loader finds no such entry.
std::string EntryBytes(HMODULE module, const wchar_t* type, const std::string& name) {
  const HRSRC found = FindResourceExW(module, type, Wide(name).c_str(), 1033);
  if (found == nullptr) return "?";
  const void* data = LockResource(LoadResource(module, found));
  return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

TEST_F(Win32Project, CompilesTheSampleProjectIntoABookWindowsAndTheViewerRead) {
  TempFolder dir;
  for (const auto& entry :
       stdfs::directory_iterator(stdfs::u8path(testing::SourcePath("examples/garden")))) {
    stdfs::copy_file(entry.path(), stdfs::u8path(dir.Path()) / entry.path().filename());
  }
  host.modal.folders = {dir.Path().substr(0, dir.Path().size() - 1)};
  Press(w.cmdopen);
  ASSERT_EQ(w.lstFiles.Count(), 8);
  Press(w.cmdselall);
  w.txthomepage.SetText("index.htm");
  w.txttitle.SetText("Garden Notes");
  w.txtAuthor.SetText("A. Reader");
  w.txtURLText.SetText("More notes");
  w.txtoutfile.SetText("Garden");
  Press(w.chkTOC);
  ASSERT_EQ(w.chkTOC.Value(), 1);
  Press(w.cmdAddToTOC);
  ASSERT_EQ(w.lstTOC.Count(), 8);
  for (int i = 0; i < w.lstTOC.Count(); ++i) {
    w.lstTOC.SetChecked(i, w.lstTOC.Entry(i) == "seeds.htm" || w.lstTOC.Entry(i) == "harvest.htm");
  }

  host.modal.answers = {dialogs::Answer::Yes, dialogs::Answer::Yes};
  Press(w.cmdcompile);
  const std::string book = dir.Path() + "Output\\Garden.exe";
  ASSERT_EQ(LastMessage(), "Your e-book has been created.  File saved to:\r\n\r\n" + book);
  EXPECT_NE(dir.Read("index.htm").find("<A HREF='harvest.htm'>harvest</A><BR>"), std::string::npos);

  const HMODULE module = LoadLibraryExW(Wide(book).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  const std::string record = EntryBytes(module, L"CUSTOM", "#101");
  EXPECT_EQ(record.rfind("Garden Notes:A. Reader:index.htm:", 0), 0u) << record;
  EXPECT_EQ(record.substr(record.size() - 30), ":More notes::blank:blank:blank");
  for (int i = 0; i < w.lstFiles.Count(); ++i) {
    const std::string name = w.lstFiles.Entry(i);
    SCOPED_TRACE(name);
    EXPECT_EQ(EntryBytes(module, MAKEINTRESOURCEW(2110), text::ToUpper(name)), dir.Read(name));
    // The loader finds names in any letter case, as the viewer's links do.
    EXPECT_EQ(EntryBytes(module, MAKEINTRESOURCEW(2110), name), dir.Read(name));
  }
  FreeLibrary(module);

  // The viewer the book is made of reads its own record.
  const std::wstring out = Wide(dir.Path() + "settings.txt");
  std::wstring command = L"\"" + Wide(book) + L"\" /settings /out \"" + out + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u);
  const std::string printed = dir.Read("settings.txt");
  EXPECT_EQ(printed.rfind("Garden Notes\r\nA. Reader\r\nindex.htm\r\n", 0), 0u) << printed;
}

}  // namespace
}  // namespace vexmar::workspace
