// The stub run under Wine on books made at test time: with its switches,
// and as a reader starts it, with MSHTML switched off so that it must take
// the default browser; the test build's shell recorder shows what it opened
// (desktop_win32.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "viewer/book_maker_win32.h"
#include "viewer/latin1_decoder.h"

namespace vexmar::viewer::testing {
namespace {

using std::filesystem::exists;

const char kIndex[] =
    "<html><head><link rel=stylesheet href=\"style.css\"></head><body>"
    "<a href=\"Chapter%201.html\">One</a> <img src=\"images/logo.gif\">"
    "<a href=\"notes.txt\">Notes</a> <a href=\"gone.htm\">Gone</a></body></html>";
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

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      {"index.htm", "INDEX.HTM", kIndex, "text/html"},
      // A text file that looks like a page must still be shown as text.
      {"Trick.txt", "TRICK.TXT", "<html><body><script>alert(1)</script></body></html>",
       "text/plain"},
      {"\xFCmlaut.htm", "\xDCMLAUT.HTM", "<p>\xFCmlaut</p>", "text/html"},
      {"Chapter 1.html", "CHAPTER 1.HTML", "<a href=\"INDEX.HTM\">Home</a> one", "text/html"},
      {"notes.TXT", "NOTES.TXT", "Plain <b>tags</b> & ampersands\r\nsecond line\r\n", "text/plain"},
      {"Style.css", "STYLE.CSS", "body { font-family: Verdana; }", "text/css"},
      // Images: binary, with zero bytes and bytes above 0x7F.
      {"logo.gif", "LOGO.GIF", std::string("GIF89a\x01\0\x01\0\x80\0\0\xff;", 15), "image/gif"},
      {"Photo.Png", "PHOTO.PNG", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "image/png"}};
  return pages;
}

std::wstring Wide(const std::string& text) {  // Latin-1, as the ANSI code page here
  std::wstring out;
  for (const char c : text) {
    out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
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
  for (const Page& page : Pages()) {
    lines.push_back(Latin1ToUtf8(page.stored) + "\t" + std::to_string(page.bytes.size()));
  }
  return Sorted(lines);
}

const wchar_t kEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

class StubUnderWine : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = MakeScratchFolder(); }
  void TearDown() override { RemoveFolder(folder_); }

  void Make(const std::string* record, const std::vector<BookFile>& files,
            const std::wstring& stub = kStub, uint16_t language = 1033) {
    book_ = folder_ + L"Garden Notes.exe";
    ASSERT_EQ(MakeBook(book_, record, files, stub, language), "");
  }
  void MakeGoodBook(const std::wstring& stub = kStub) {
    std::vector<BookFile> files;
    for (const Page& page : Pages()) {
      files.push_back({Wide(page.source), page.bytes});
    }
    Make(&record_, files, stub);
  }
  RunResult Run(const std::wstring& arguments) { return RunViewer(book_, arguments, folder_); }

  const std::string record_ = kRecord;
  std::wstring folder_;
  std::wstring book_;
};

TEST_F(StubUnderWine, SettingsPrintTheNineFieldsWhateverTheRecordLanguage) {
  for (const uint16_t language : {uint16_t{1033}, uint16_t{0}, uint16_t{1031}, uint16_t{2052}}) {
    SCOPED_TRACE(language);
    Make(&record_, {{L"INDEX.HTM", kIndex}}, kStub, language);
    const RunResult run = Run(L"/settings");
    EXPECT_EQ(run.exit_code, 0u) << run.err;
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{kTitle, "A. Reader", "index.htm", "3/14/2026", "More notes",
                                        "", "blank", "blank", "blank"}));
  }
}

TEST_F(StubUnderWine, ListExtractAndFetchGiveBackEveryFileAsStored) {
  MakeGoodBook();
  const RunResult list = Run(L"/list");
  EXPECT_EQ(list.exit_code, 0u) << list.err;
  EXPECT_EQ(Sorted(Lines(list.out)), PageListing());

  const RunResult extract = Run(L"/extract \"out dir\\book\"");
  EXPECT_EQ(extract.exit_code, 0u) << extract.err;
  for (const Page& page : Pages()) {
    EXPECT_EQ(ReadFileBytes(folder_ + L"out dir\\book\\" + Wide(page.stored)), page.bytes)
        << page.source;
  }

  std::vector<std::pair<std::wstring, std::string>> fetches = {
      // URL, the entry it serves
      {L"ebook://book/Chapter%201.html", "CHAPTER 1.HTML"},  // percent-encoded, mixed case
      {L"ebook://book/index.htm?from=toc#top", "INDEX.HTM"},
      {L"ebook://book/Logo.Gif", "LOGO.GIF"},
      {L"ebook://book/%C3%BCmlaut.htm", "\xDCMLAUT.HTM"},  // UTF-8, as IE escapes links
      {L"ebook://book/%FCmlaut.htm", "\xDCMLAUT.HTM"},     // the ANSI code page
      // Relative links, resolved by urlmon against the index page.
      {L"Chapter%201.html", "CHAPTER 1.HTML"},
      {L"images/logo.gif", "LOGO.GIF"},
      {L"images/../notes.txt", "NOTES.TXT"},
  };
  for (const Page& page : Pages()) {
    fetches.emplace_back(L"ebook://book/" + Wide(page.stored), page.stored);
  }
  for (const auto& [url, stored] : fetches) {
    SCOPED_TRACE(Latin1ToUtf8(stored));
    const Page& page = *std::find_if(Pages().begin(), Pages().end(),
                                     [&](const Page& p) { return p.stored == stored; });
    const RunResult run = Run(L"/fetch \"" + url + L"\"");
    ASSERT_EQ(run.exit_code, 0u) << run.err;
    // The header lines, a blank line, then the bytes.
    const size_t end = run.out.find("\r\n\r\n");
    ASSERT_NE(end, std::string::npos) << run.out;
    EXPECT_NE(run.out.substr(0, end + 2).find(std::string("Content-Type: ") + page.mime + "\r\n"),
              std::string::npos)
        << run.out.substr(0, end);
    EXPECT_EQ(run.out.substr(end + 4), page.bytes);
  }
}

TEST_F(StubUnderWine, FailuresGoToStandardErrorWithTheirExitCode) {
  MakeGoodBook();
  const std::tuple<const wchar_t*, DWORD, const char*> cases[] = {
      {L"/fetch gone.htm", 5, "No page at ebook://book/gone.htm"},
      {L"/fetch http://example.com/", 2, "the book's own pages only"},
      {L"/fetch file:///C:/windows/win.ini", 2, "the book's own pages only"},
      {L"/lst", 2, "Unknown switch"},
  };
  for (const auto& [arguments, exit_code, message_part] : cases) {
    SCOPED_TRACE(message_part);
    const RunResult run = Run(arguments);
    EXPECT_EQ(run.exit_code, exit_code);
    EXPECT_NE(run.err.find(message_part), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

// A book the viewer cannot show says why: on standard error for a switch,
// in a message box (and never a browser) when started by a double-click.
TEST_F(StubUnderWine, ABookItCannotShowIsExplainedBothWays) {
  struct Case {
    const char* name;
    const char* record;  // nullptr: no settings entry
    std::vector<BookFile> files;
    DWORD exit_code;
    const char* message_part;
  };
  const std::vector<BookFile> index = {{L"INDEX.HTM", "<p>home</p>"}};
  const Case cases[] = {
      {"the bare stub", nullptr, {}, 3, "viewer of the Vexmar E-book Compiler"},
      {"files but no record", nullptr, index, 4, "no settings record"},
      {"fewer than nine fields", "Title:Author:index.htm:3/14/2026", index, 4,
       "has 4 fields instead of 9"},
      {"an empty record", "", index, 4, "The settings record is empty"},
      {"a missing index page", "T:A:gone.htm:d:::blank:blank:blank", index, 4,
       "\"gone.htm\" named in the settings record is not in this e-book"},
      {"an empty index page", kRecord, {{L"INDEX.HTM", ""}}, 4, "\"index.htm\" is empty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string record = c.record != nullptr ? c.record : "";
    Make(c.record != nullptr ? &record : nullptr, c.files, kRecordingStub);
    const RunResult run = Run(L"/settings");
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;

    const RunResult shown = Run(L"");
    EXPECT_EQ(shown.exit_code, c.exit_code);
    ASSERT_EQ(shown.log.count("box"), 1u) << shown.out;
    ASSERT_EQ(shown.log.at("box").size(), 1u) << shown.out;
    EXPECT_NE(shown.log.at("box").front().find(c.message_part), std::string::npos) << shown.out;
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
  EXPECT_TRUE(exists(folder_ + L"inside\\EMPTY.HTM"));
  for (const std::wstring& outside :
       {folder_ + L"ESCAPED.HTM", folder_ + L"ROOTED.HTM", std::wstring(L"C:\\ABSOLUTE.HTM"),
        std::wstring(L"C:\\ROOTED.HTM")}) {
    EXPECT_FALSE(exists(outside)) << std::string(outside.begin(), outside.end());
  }

  const RunResult list = Run(L"/list");
  EXPECT_EQ(list.exit_code, 0u);
  EXPECT_NE(list.out.find("EMPTY.HTM\t0"), std::string::npos) << list.out;
  EXPECT_NE(list.err.find("\"EMPTY.HTM\" is empty"), std::string::npos) << list.err;

  // An empty page is served as a notice, not as a blank window.
  const RunResult fetch = Run(L"/fetch ebook://book/EMPTY.HTM");
  ASSERT_EQ(fetch.exit_code, 0u) << fetch.err;
  EXPECT_NE(fetch.out.find("Content-Type: text/html\r\n"), std::string::npos) << fetch.out;
  EXPECT_NE(fetch.out.find("This page is empty in the e-book"), std::string::npos) << fetch.out;
}

TEST_F(StubUnderWine, WithoutMshtmlTheBookOpensInTheDefaultBrowserAndIsCleanedUp) {
  MakeGoodBook(kRecordingStub);
  // A folder left by a viewer that is gone must be swept; the one of a
  // running process (this test) must stay.
  const std::wstring stale = TempPath() + L"vexmar-book-4000000-1";
  const std::wstring live =
      TempPath() + L"vexmar-book-" + std::to_wstring(GetCurrentProcessId()) + L"-1";
  for (const std::wstring& folder : {stale, live}) {
    CreateDirectoryW(folder.c_str(), nullptr);
    std::ofstream(std::filesystem::path(folder + L"\\PAGE.HTM")) << "<p>";
    ASSERT_TRUE(exists(folder + L"\\PAGE.HTM"));
  }
  // A viewer that was killed leaves its document-mode value behind, and the
  // next one leaves a value alone that it did not set.
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kEmulationKey, L"Garden Notes.exe");

  const RunResult shown = Run(L"");
  EXPECT_EQ(shown.exit_code, 0u);
  ASSERT_EQ(shown.log.count("open"), 1u) << shown.out;
  const std::string opened = shown.log.at("open").front();
  const std::wstring temp = TempPath();
  EXPECT_EQ(opened.rfind(std::string(temp.begin(), temp.end()) + "vexmar-book-", 0), 0u) << opened;
  EXPECT_NE(opened.find("\\INDEX.HTM"), std::string::npos) << opened;
  EXPECT_EQ(shown.log.at("title"), std::vector<std::string>{kTitle});
  EXPECT_EQ(Sorted(shown.log.at("file")), PageListing());

  // The document-mode value the viewer set for its own file name is gone
  // again, so the registry keeps nothing of a book once it is closed.
  DWORD mode = 0;
  DWORD size = sizeof mode;
  EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, kEmulationKey, L"Garden Notes.exe", RRF_RT_REG_DWORD,
                         nullptr, &mode, &size),
            ERROR_SUCCESS);
  // The viewer has closed: its folder is gone.
  const std::string opened_folder = opened.substr(0, opened.rfind('\\'));
  EXPECT_FALSE(exists(std::wstring(opened_folder.begin(), opened_folder.end())));
  EXPECT_FALSE(exists(stale));
  EXPECT_TRUE(exists(live + L"\\PAGE.HTM"));
  RemoveFolder(live);
  RemoveFolder(stale);
}

}  // namespace
}  // namespace vexmar::viewer::testing
