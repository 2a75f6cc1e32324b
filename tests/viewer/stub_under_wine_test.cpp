// The stub run under Wine on books made at test time: with its switches,
// and as a reader starts it, with MSHTML off so that it must take the
// default browser; the recording stub logs what it opened (desktop_win32.h).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "book/book_format.h"
#include "book/digest_entry.h"
#include "platform/resources/resource_update.h"
#include "viewer/latin1_decoder.h"

namespace vexmar::viewer::testing {
namespace {

namespace fs = std::filesystem;

// The stub, and its test build that logs what it would hand to the shell,
// on drive Z:, where Wine shows the Unix root.
const wchar_t kStub[] = VEXMAR_VIEWER_STUB;
const wchar_t kRecordingStub[] = VEXMAR_VIEWER_RECORDING_STUB;

std::wstring TempPath() {  // ends in "\"
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return temp;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {  // without their "\r"
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

struct BookFile {
  std::wstring entry_name;  // stored as given (the resource API upper-cases it)
  std::string bytes;
};

using Put = std::tuple<resources::ResourceId, resources::Result<resources::ResourceId>, uint16_t,
                       std::string>;

// Writes the entries into the book by the project's own resource engine, as
// the compiler makes books. Returns why that failed, or "".
std::string PutEntries(const std::wstring& path, const std::vector<Put>& puts) {
  auto update = resources::ResourceUpdate::Begin(fs::path(path));
  if (!update) return update.error().reason;
  for (const auto& [type, id, language, bytes] : puts) {
    if (!id) return id.error().reason;
    const resources::Status set =
        update->Update(type, id.value(), language, {bytes.begin(), bytes.end()});
    if (!set) return set.error().reason;
  }
  const auto committed = update->Commit();
  return committed ? "" : committed.error().reason;
}

// A copy of `stub` at `path` with the entries; no record when `record` is null.
std::string MakeBook(const std::wstring& path, const std::string* record,
                     const std::vector<BookFile>& files, const std::wstring& stub,
                     uint16_t record_language) {
  using resources::ResourceId;
  if (!CopyFileW(stub.c_str(), path.c_str(), FALSE)) {
    return "cannot copy the stub: " + std::to_string(GetLastError());
  }
  if (record == nullptr && files.empty()) return "";
  std::vector<Put> puts;
  if (record != nullptr) {
    puts.emplace_back(ResourceId::FromUtf8(book_format::kSettingsType).value(),
                      ResourceId::Number(book_format::kSettingsId), record_language, *record);
  }
  for (const BookFile& file : files) {
    puts.emplace_back(
        ResourceId::Number(book_format::kFileType).value(),
        ResourceId::FromText(std::u16string(file.entry_name.begin(), file.entry_name.end())),
        book_format::kLanguage, file.bytes);
  }
  return PutEntries(path, puts);
}

// Writes the book's digest entry, replacing any it has.
std::string WriteDigest(const std::wstring& path, const std::vector<book::DigestedEntry>& entries) {
  using resources::ResourceId;
  return PutEntries(path, {{ResourceId::FromUtf8(book_format::kDigestType).value(),
                            ResourceId::FromUtf8(book_format::kDigestName), book_format::kLanguage,
                            book::WriteDigestEntry(entries)}});
}

struct RunResult {
  DWORD exit_code = 0xFFFFFFFF;
  std::string out;  // what /out wrote, or the shell log
  std::string err;  // standard error
  // The shell log's lines "<kind>\t<text>" by kind ("open", "title", "file", "box")
  std::map<std::string, std::vector<std::string>> log;
};

// Runs `program` in `folder` with a time limit. With `arguments` (already
// quoted) it adds "/out <file>" and catches standard error; without, it
// starts the program as a double-click does, and the recording stub logs
// what it showed.
RunResult RunViewer(const std::wstring& program, const std::wstring& arguments,
                    const std::wstring& folder) {
  RunResult result;
  const bool switches = !arguments.empty();
  const std::wstring out_path = folder + (switches ? L"out.txt" : L"shell.log");
  const std::wstring err_path = folder + L"err.txt";
  DeleteFileW(out_path.c_str());
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE err = CreateFileW(err_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, 0, nullptr);
  if (switches) {
    command += L" " + arguments + L" /out \"" + out_path + L"\"";
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = startup.hStdOutput = err;
  } else {
    SetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", out_path.c_str());
  }
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, switches, 0, nullptr,
                     folder.c_str(), &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 0xDEAD);
    }
    GetExitCodeProcess(process.hProcess, &result.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  SetEnvironmentVariableW(L"VEXMAR_VIEWER_SHELL_LOG", nullptr);
  CloseHandle(err);
  result.out = ReadFileBytes(out_path);
  result.err = ReadFileBytes(err_path);
  for (const std::string& line : Lines(switches ? "" : result.out)) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) result.log[line.substr(0, tab)].push_back(line.substr(tab + 1));
  }
  return result;
}

const char kIndex[] = "<a href=\"Chapter%201.html\">One</a> <img src=\"images/logo.gif\">";
// The compiler writes the record in the ANSI code page, Windows-1252 in the
// test prefix (as the "%FC" link below assumes too); the viewer prints UTF-8.
const char kRecord[] = "Caf\xE9 Notes:A. Reader:index.htm:3/14/2026:More notes::blank:blank:blank";
const char kTitle[] = "Caf\xC3\xA9 Notes";

struct Page {
  const char* source;  // the file's name in the project, as the compiler is given it
  const char* stored;  // the entry's name: upper-cased by the resource engine
  std::string bytes;
  const char* mime;
};
const Page kPages[] = {
    {"index.htm", "INDEX.HTM", kIndex, "text/html"},
    // A text file that looks like a page must still be shown as text.
    {"Trick.txt", "TRICK.TXT", "<html><script>alert(1)</script></html>\r\n", "text/plain"},
    {"\xFCmlaut.htm", "\xDCMLAUT.HTM", "<p>\xFCmlaut</p>", "text/html"},
    {"Chapter 1.html", "CHAPTER 1.HTML", "<a href=\"INDEX.HTM\">Home</a>", "text/html"},
    {"Style.css", "STYLE.CSS", "body { font-family: Verdana; }", "text/css"},
    // Images: binary, with zero bytes and bytes above 0x7F.
    {"logo.gif", "LOGO.GIF", std::string("GIF89a\x01\0\x01\0\x80\0\0\xff;", 15), "image/gif"},
    {"Photo.Png", "PHOTO.PNG", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "image/png"}};

std::wstring Wide(const std::string& text) {  // Latin-1, as the ANSI code page here
  std::wstring out;
  for (const char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// "<name>\t<size>" of every page, names in UTF-8: what /list prints and the
// fallback logs for the files it extracted.
std::vector<std::string> PageListing() {
  std::vector<std::string> lines;
  for (const Page& page : kPages) {
    lines.push_back(Latin1ToUtf8(page.stored) + "\t" + std::to_string(page.bytes.size()));
  }
  return Sorted(lines);
}

class StubUnderWine : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override { fs::remove_all(folder_); }

  void Make(const std::string* record, std::vector<BookFile> files,
            const std::wstring& stub = kStub, uint16_t language = 1033) {
    if (files.empty() && record == &record_) {
      for (const Page& page : kPages) files.push_back({Wide(page.source), page.bytes});
    }
    ASSERT_EQ(MakeBook(book_, record, files, stub, language), "");
  }
  RunResult Run(const std::wstring& arguments) { return RunViewer(book_, arguments, folder_); }

  const std::string record_ = kRecord;
  const std::wstring folder_ =
      TempPath() + L"vexmar-viewer-test-" +
      Wide(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L"\\";
  const std::wstring book_ = folder_ + L"Garden Notes.exe";
};

TEST_F(StubUnderWine, SwitchesGiveBackTheSettingsAndEveryFileAsStored) {
  // The record is found whatever its language.
  for (const uint16_t language : {uint16_t{0}, uint16_t{2052}, uint16_t{1033}}) {
    Make(&record_, {}, kStub, language);
    const RunResult run = Run(L"/settings");
    EXPECT_EQ(run.exit_code, 0u) << run.err;
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{kTitle, "A. Reader", "index.htm", "3/14/2026", "More notes",
                                        "", "blank", "blank", "blank"}))
        << language;
  }
  const RunResult list = Run(L"/list");
  EXPECT_EQ(list.exit_code, 0u) << list.err;
  EXPECT_EQ(Sorted(Lines(list.out)), PageListing());

  const RunResult extract = Run(L"/extract \"out dir\\book\"");
  EXPECT_EQ(extract.exit_code, 0u) << extract.err;
  for (const Page& page : kPages) {
    EXPECT_EQ(ReadFileBytes(folder_ + L"out dir\\book\\" + Wide(page.stored)), page.bytes)
        << page.source;
  }

  std::vector<std::pair<std::wstring, std::string>> fetches = {
      // URL, the entry it serves
      {L"ebook://book/Chapter%201.html?from=toc#top", "CHAPTER 1.HTML"},
      {L"ebook://book/%FCmlaut.htm", "\xDCMLAUT.HTM"},  // the ANSI code page
      // Relative links, resolved by urlmon against the index page.
      {L"images/../Chapter%201.html", "CHAPTER 1.HTML"},
      {L"images/logo.gif", "LOGO.GIF"},
  };
  for (const Page& page : kPages)
    fetches.emplace_back(L"ebook://book/" + Wide(page.stored), page.stored);
  for (const auto& [url, stored] : fetches) {
    const Page& page = *std::find_if(std::begin(kPages), std::end(kPages),
                                     [&](const Page& p) { return p.stored == stored; });
    const RunResult run = Run(L"/fetch \"" + url + L"\"");
    ASSERT_EQ(run.exit_code, 0u) << run.err;
    // The header lines, a blank line, then the bytes.
    const size_t end = run.out.find("\r\n\r\n");
    ASSERT_NE(end, std::string::npos) << run.out;
    EXPECT_NE(run.out.substr(0, end + 2).find(std::string("Content-Type: ") + page.mime + "\r\n"),
              std::string::npos)
        << run.out.substr(0, end);
    EXPECT_EQ(run.out.substr(end + 4), page.bytes) << Latin1ToUtf8(stored);
  }
  const std::tuple<const wchar_t*, DWORD, const char*> failures[] = {
      {L"/fetch gone.htm", 5, "No page at ebook://book/gone.htm"},
      {L"/fetch file:///C:/windows/win.ini", 2, "the book's own pages only"},
  };
  for (const auto& [arguments, exit_code, message_part] : failures) {
    const RunResult run = Run(arguments);
    EXPECT_EQ(run.exit_code, exit_code);
    EXPECT_NE(run.err.find(message_part), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(StubUnderWine, VerifyNamesWhatIsDamagedAndADamagedPageIsNeverServed) {
  Make(nullptr, {});
  RunResult run = Run(L"/verify");
  EXPECT_EQ(run.exit_code, 3u) << run.err;  // the bare stub, as every switch says
  Make(&record_, {});
  run = Run(L"/verify");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  EXPECT_EQ(Lines(run.out), std::vector<std::string>{"unverified"});

  std::vector<book::DigestedEntry> digest = {{"CUSTOM", "#101", book::Sha256Of(record_)}};
  for (const Page& page : kPages) {
    digest.push_back({"#2110", Latin1ToUtf8(page.stored), book::Sha256Of(page.bytes)});
  }
  ASSERT_EQ(WriteDigest(book_, digest), "");
  run = Run(L"/verify");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  EXPECT_EQ(Lines(run.out), std::vector<std::string>{"ok 8 entries"});

  // The digest now vouches for other bytes than the chapter's and the
  // logo's, and for a page the book lacks.
  digest[4].sha256 = book::Sha256Of("the chapter as built");
  digest[6].sha256[0] ^= 1;
  digest.push_back({"#2110", "LOST.HTM", book::Sha256Of("")});
  ASSERT_EQ(WriteDigest(book_, digest), "");
  run = Run(L"/verify");
  EXPECT_EQ(run.exit_code, 9u) << run.err;
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"damaged CHAPTER 1.HTML", "damaged LOGO.GIF",
                                                      "missing LOST.HTM", "damaged"}));
  run = Run(L"/fetch \"ebook://book/Chapter%201.html\"");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  EXPECT_NE(run.out.find("Content-Type: text/html\r\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("This page of the book is damaged."), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("Home"), std::string::npos) << run.out;
  run = Run(L"/fetch ebook://book/INDEX.HTM");
  EXPECT_EQ(run.out.substr(run.out.find("\r\n\r\n") + 4), kIndex);
}

// A book the viewer cannot show says why: on standard error for a switch,
// in a message box (and never a browser) when started by a double-click.
TEST_F(StubUnderWine, ABookItCannotShowIsExplainedBothWays) {
  const std::vector<BookFile> index = {{L"INDEX.HTM", "<p>home</p>"}};
  const std::tuple<const char*, std::vector<BookFile>, DWORD, const char*> cases[] = {
      // the record (nullptr: none), the files, exit code and message
      {nullptr, {}, 3, "viewer of the Vexmar E-book Compiler"},
      {nullptr, index, 4, "no settings record"},
      {"", index, 4, "The settings record is empty"},
      {"T:A:gone.htm:d:::blank:blank:blank", index, 4,
       "\"gone.htm\" named in the settings record is not in this e-book"},
      {kRecord, {{L"INDEX.HTM", ""}}, 4, "\"index.htm\" is empty"},
  };
  for (const auto& [record, files, exit_code, message_part] : cases) {
    const std::string text = record != nullptr ? record : "";
    Make(record != nullptr ? &text : nullptr, files, kRecordingStub);
    const RunResult run = Run(L"/settings");
    EXPECT_EQ(run.exit_code, exit_code);
    EXPECT_NE(run.err.find(message_part), std::string::npos) << run.err;

    RunResult shown = Run(L"");
    EXPECT_EQ(shown.exit_code, exit_code);
    ASSERT_EQ(shown.log["box"].size(), 1u) << shown.out;
    EXPECT_NE(shown.log["box"].front().find(message_part), std::string::npos) << shown.out;
    EXPECT_EQ(shown.log.count("open"), 0u) << shown.out;
  }
}

TEST_F(StubUnderWine, HostileNamesAreRefusedAndNothingLeavesTheFolder) {
  Make(&record_, {{L"INDEX.HTM", kIndex},
                  {L"..\\ESCAPED.HTM", "x"},
                  {L"C:ROOTED.HTM", "x"},
                  {L"C:\\ABSOLUTE.HTM", "x"},
                  {L"EMPTY.HTM", ""}});
  const RunResult run = Run(L"/extract inside");
  EXPECT_EQ(run.exit_code, 6u) << run.err;
  for (const char* refused : {"..\\ESCAPED.HTM", "C:ROOTED.HTM", "C:\\ABSOLUTE.HTM"}) {
    EXPECT_NE(run.err.find(std::string("Refused entry ") + refused), std::string::npos) << run.err;
  }
  EXPECT_NE(run.err.find("\"EMPTY.HTM\" is empty"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFileBytes(folder_ + L"inside\\INDEX.HTM"), kIndex);
  EXPECT_TRUE(fs::exists(folder_ + L"inside\\EMPTY.HTM"));
  for (const wchar_t* outside :
       {L"ESCAPED.HTM", L"ROOTED.HTM", L"C:\\ROOTED.HTM", L"C:\\ABSOLUTE.HTM"}) {
    EXPECT_FALSE(fs::exists(fs::path(folder_) / outside)) << fs::path(outside).u8string();
  }
  // An empty page is served as a notice, not as a blank window.
  const RunResult fetch = Run(L"/fetch ebook://book/EMPTY.HTM");
  ASSERT_EQ(fetch.exit_code, 0u) << fetch.err;
  EXPECT_NE(fetch.out.find("Content-Type: text/html\r\n"), std::string::npos) << fetch.out;
  EXPECT_NE(fetch.out.find("This page is empty in the e-book"), std::string::npos) << fetch.out;
}

TEST_F(StubUnderWine, WithoutMshtmlTheBookOpensInTheDefaultBrowserAndIsCleanedUp) {
  Make(&record_, {}, kRecordingStub);
  // A folder left by a viewer that is gone must be swept; the one of a
  // running process (this test) must stay.
  const std::wstring stale = TempPath() + L"vexmar-book-4000000-1";
  const std::wstring live =
      TempPath() + L"vexmar-book-" + std::to_wstring(GetCurrentProcessId()) + L"-1";
  for (const std::wstring& folder : {stale, live}) {
    fs::create_directories(folder);
    std::ofstream(fs::path(folder + L"\\PAGE.HTM")) << "<p>";
  }
  // The document-mode value the viewer sets for its own file name is gone
  // again once it closes (a killed viewer leaves one behind, which the next
  // leaves alone as it did not set it).
  const wchar_t key[] =
      L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
  RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"Garden Notes.exe");

  RunResult shown = Run(L"");
  EXPECT_EQ(shown.exit_code, 0u);
  ASSERT_EQ(shown.log["open"].size(), 1u) << shown.out;
  const std::string opened = shown.log["open"].front();
  EXPECT_EQ(opened.rfind(fs::path(TempPath() + L"vexmar-book-").u8string(), 0), 0u) << opened;
  EXPECT_NE(opened.find("\\INDEX.HTM"), std::string::npos) << opened;
  EXPECT_EQ(shown.log["title"], std::vector<std::string>{kTitle});
  EXPECT_EQ(Sorted(shown.log["file"]), PageListing());
  DWORD mode = 0, size = sizeof mode;
  EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, key, L"Garden Notes.exe", RRF_RT_REG_DWORD, nullptr,
                         &mode, &size),
            ERROR_SUCCESS);
  EXPECT_FALSE(fs::exists(fs::u8path(opened).parent_path()));  // the viewer has closed
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(live + L"\\PAGE.HTM"));
  fs::remove_all(live);
}

}  // namespace
}  // namespace vexmar::viewer::testing
