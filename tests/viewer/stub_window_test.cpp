// The viewer started as a reader starts it, under Wine with MSHTML switched
// off: it must take the default browser, and the test build's shell
// recorder shows what it opened (desktop_win32.h).
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "viewer/book_maker_win32.h"

namespace vexmar::viewer::testing {
namespace {

std::map<std::string, std::vector<std::string>> ReadLog(const std::string& text) {
  std::map<std::string, std::vector<std::string>> log;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) {
      log[line.substr(0, tab)].push_back(line.substr(tab + 1));
    }
  }
  return log;
}

const wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

bool MakeFolderWithFile(const std::wstring& folder) {
  CreateDirectoryW(folder.c_str(), nullptr);
  const HANDLE file = CreateFileW((folder + L"\\PAGE.HTM").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(file);
  return true;
}

TEST(StubWindow, WithoutMshtmlTheBookOpensInTheDefaultBrowserAndIsCleanedUp) {
  const std::wstring folder = MakeScratchFolder();
  const std::wstring book = folder + L"Garden Notes.exe";
  const std::string record =
      "Garden Notes:A. Reader:index.htm:3/14/2026:More notes:www.example.com:blank:blank:blank";
  const std::vector<BookFile> files = {{L"INDEX.HTM", "<a href=\"Chapter%201.html\">1</a>"},
                                       {L"CHAPTER 1.HTML", "<p>one</p>"},
                                       {L"LOGO.GIF", std::string("GIF89a\0\x01", 8)}};
  std::string error;
  ASSERT_TRUE(MakeBook(book, &record, files, error, RecordingStubPath())) << error;

  // A folder left by a viewer that is gone must be swept; the one of a
  // running process (this test) must stay.
  const std::wstring stale = TempPath() + L"vexmar-book-4000000-1";
  const std::wstring live =
      TempPath() + L"vexmar-book-" + std::to_wstring(GetCurrentProcessId()) + L"-1";
  ASSERT_TRUE(MakeFolderWithFile(stale));
  ASSERT_TRUE(MakeFolderWithFile(live));

  // A viewer that was killed leaves its document-mode value behind, and the
  // next one leaves a value alone that it did not set.
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kEmulationKey, L"Garden Notes.exe");

  const std::wstring log_path = folder + L"shell.log";
  SetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", log_path.c_str());
  const DWORD exit_code = RunViewerWindow(book, folder);
  SetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", nullptr);

  EXPECT_EQ(exit_code, 0u);
  const auto log = ReadLog(ReadFileBytes(log_path));
  ASSERT_EQ(log.count("open"), 1u) << ReadFileBytes(log_path);
  const std::string opened = log.at("open").front();
  const std::wstring temp_wide = TempPath();
  const std::string temp(temp_wide.begin(), temp_wide.end());
  EXPECT_EQ(opened.rfind(temp + "vexmar-book-", 0), 0u) << opened;
  EXPECT_NE(opened.find("\\INDEX.HTM"), std::string::npos) << opened;
  EXPECT_EQ(log.at("title"), std::vector<std::string>{"Garden Notes"});
  std::map<std::string, std::string> extracted;
  for (const std::string& line : log.at("file")) {
    extracted[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
  }
  EXPECT_EQ(extracted, (std::map<std::string, std::string>{
                           {"INDEX.HTM", std::to_string(files[0].bytes.size())},
                           {"CHAPTER 1.HTML", std::to_string(files[1].bytes.size())},
                           {"LOGO.GIF", std::to_string(files[2].bytes.size())}}));

  // The document-mode value the viewer set for its own file name is gone
  // again, so the registry keeps nothing of a book once it is closed.
  DWORD mode = 0;
  DWORD size = sizeof mode;
  EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, kEmulationKey, L"Garden Notes.exe", RRF_RT_REG_DWORD,
                         nullptr, &mode, &size),
            ERROR_SUCCESS);

  // The viewer has closed: its folder is gone.
  EXPECT_FALSE(FileExists(Wide(opened.substr(0, opened.rfind('\\')))));
  EXPECT_FALSE(FileExists(stale));
  EXPECT_TRUE(FileExists(live + L"\\PAGE.HTM"));
  RemoveFolder(live);
  RemoveFolder(stale);
  RemoveFolder(folder);
}

TEST(StubWindow, ABookItCannotShowGetsAMessageBoxSayingWhy) {
  struct Case {
    const char* name;
    const char* record;  // nullptr: no settings entry
    bool with_files;
    DWORD exit_code;
    const char* message_part;
  };
  const Case cases[] = {
      {"the bare stub", nullptr, false, 3, "viewer of the Vexmar E-book Compiler"},
      {"files but no record", nullptr, true, 4, "no settings record"},
      {"fewer than nine fields", "Title:Author:index.htm:3/14/2026", true, 4,
       "has 4 fields instead of 9"},
      {"an empty record", "", true, 4, "The settings record is empty"},
      {"a missing index page", "T:A:gone.htm:d:::blank:blank:blank", true, 4,
       "\"gone.htm\" named in the settings record is not in this e-book"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring folder = MakeScratchFolder();
    const std::wstring book = folder + L"book.exe";
    const std::string record = c.record != nullptr ? c.record : "";
    std::vector<BookFile> files;
    if (c.with_files) {
      files.push_back({L"INDEX.HTM", "<p>home</p>"});
    }
    std::string error;
    ASSERT_TRUE(
        MakeBook(book, c.record != nullptr ? &record : nullptr, files, error, RecordingStubPath()))
        << error;
    const std::wstring log_path = folder + L"shell.log";
    SetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", log_path.c_str());
    const DWORD exit_code = RunViewerWindow(book, folder);
    SetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", nullptr);
    const std::string text = ReadFileBytes(log_path);
    RemoveFolder(folder);

    EXPECT_EQ(exit_code, c.exit_code);
    const auto log = ReadLog(text);
    ASSERT_EQ(log.count("box"), 1u) << text;
    ASSERT_EQ(log.at("box").size(), 1u) << text;
    EXPECT_NE(log.at("box").front().find(c.message_part), std::string::npos) << text;
    EXPECT_EQ(log.count("open"), 0u) << text;
  }
}

}  // namespace
}  // namespace vexmar::viewer::testing
