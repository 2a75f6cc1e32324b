// The stub's switches, run under Wine on books made at test time.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "viewer/book_maker_win32.h"
#include "viewer/latin1_decoder.h"

namespace vexmar::viewer::testing {
namespace {

const char kIndex[] =
    "<html><head><link rel=stylesheet href=\"style.css\"></head><body>"
    "<a href=\"Chapter%201.html\">One</a> <img src=\"images/logo.gif\">"
    "<a href=\"notes.txt\">Notes</a> <a href=\"gone.htm\">Gone</a></body></html>";
const char kChapter[] = "<html><body><a href=\"INDEX.HTM\">Home</a> chapter one</body></html>";
const char kNotes[] = "Plain text with <b>tags</b> & ampersands\r\nsecond line\r\n";
const char kStyle[] = "body { font-family: Verdana; }";
// A 1x1 GIF: binary, with zero bytes and bytes above 0x7F.
const char kGif[] =
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01\x00\x00\x00\x00,"
    "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
const char kPng[] = "\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR";

const char kRecord[] =
    "Garden Notes:A. Reader:index.htm:3/14/2026:More notes:www.example.com:blank:blank:blank";

std::string Bytes(const char* text, size_t size_with_nul) {
  return std::string(text, size_with_nul - 1);
}

struct Page {
  const char* source;  // the file's name in the project, as the compiler is given it
  const char* stored;  // the entry's name: upper-cased by the resource engine
  std::string bytes;
  const char* mime;
};

// A text file that looks like a page must still be shown as text.
const char kTrick[] = "<html><body><script>alert(1)</script></body></html>";

std::vector<Page> Pages() {
  return {{"index.htm", "INDEX.HTM", kIndex, "text/html"},
          {"Trick.txt", "TRICK.TXT", kTrick, "text/plain"},
          {"\xFC"
           "bung.htm",
           "\xDC"
           "BUNG.HTM",
           "<p>\xFC"
           "bung</p>",
           "text/html"},
          {"Chapter 1.html", "CHAPTER 1.HTML", kChapter, "text/html"},
          {"notes.TXT", "NOTES.TXT", kNotes, "text/plain"},
          {"Style.css", "STYLE.CSS", kStyle, "text/css"},
          {"logo.gif", "LOGO.GIF", Bytes(kGif, sizeof kGif), "image/gif"},
          {"Photo.Png", "PHOTO.PNG", Bytes(kPng, sizeof kPng), "image/png"}};
}

std::wstring Wide(const char* text) {
  std::wstring out;
  for (const char* c = text; *c != '\0'; ++c) {
    out += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(line);
  }
  return lines;
}

// "/fetch" output: the header lines, a blank line, then the bytes.
struct Fetched {
  std::string mime;
  std::string bytes;
};
Fetched ParseFetch(const std::string& out) {
  Fetched fetched;
  const size_t end = out.find("\r\n\r\n");
  if (end == std::string::npos) {
    return fetched;
  }
  for (const std::string& line : Lines(out.substr(0, end))) {
    if (line.rfind("Content-Type: ", 0) == 0) {
      fetched.mime = line.substr(14);
    }
  }
  fetched.bytes = out.substr(end + 4);
  return fetched;
}

class StubSwitches : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeScratchFolder();
    book_ = folder_ + L"Garden Notes.exe";
  }
  void TearDown() override { RemoveFolder(folder_); }

  void MakeGoodBook() {
    std::vector<BookFile> files;
    for (const Page& page : Pages()) {
      files.push_back({Wide(page.source), page.bytes});
    }
    const std::string record = kRecord;
    std::string error;
    ASSERT_TRUE(MakeBook(book_, &record, files, error)) << error;
  }
  RunResult Run(const std::wstring& arguments) { return RunViewer(book_, arguments, folder_); }

  std::wstring folder_;
  std::wstring book_;
};

TEST_F(StubSwitches, SettingsPrintsTheNineFields) {
  MakeGoodBook();
  const RunResult run = Run(L"/settings");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{"Garden Notes", "A. Reader", "index.htm", "3/14/2026",
                                      "More notes", "www.example.com", "blank", "blank", "blank"}));
}

TEST_F(StubSwitches, SettingsComeFromTheAnsiCodePage) {
  // The compiler writes the record in the ANSI code page; the viewer shows
  // it in the reader's, which is this one's here.
  const std::string record = "Caf\xE9 Notes:Ren\xE9:index.htm:14.03.26:::blank:blank:blank";
  std::string error;
  ASSERT_TRUE(MakeBook(book_, &record, {{L"INDEX.HTM", kIndex}}, error)) << error;
  const RunResult run = Run(L"/settings");
  ASSERT_EQ(run.exit_code, 0u) << run.err;
  std::string expected_title;
  for (const char c : std::string("Caf\xE9 Notes")) {
    wchar_t wide = 0;
    MultiByteToWideChar(CP_ACP, 0, &c, 1, &wide, 1);
    char utf8[4] = {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, 4, nullptr, nullptr);
    expected_title.append(utf8, static_cast<size_t>(length));
  }
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], expected_title);
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "");
}

TEST_F(StubSwitches, ARecordInAnotherLanguageIsFoundToo) {
  const std::string record = kRecord;
  for (const uint16_t language : {uint16_t{0}, uint16_t{1031}, uint16_t{2052}}) {
    SCOPED_TRACE(language);
    std::string error;
    ASSERT_TRUE(MakeBook(book_, &record, {{L"INDEX.HTM", kIndex}}, error, StubPath(), language))
        << error;
    const RunResult run = Run(L"/settings");
    EXPECT_EQ(run.exit_code, 0u) << run.err;
    EXPECT_EQ(Lines(run.out).front(), "Garden Notes");
  }
}

TEST_F(StubSwitches, ListPrintsEveryEntryAndItsSize) {
  MakeGoodBook();
  const RunResult run = Run(L"/list");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  std::map<std::string, std::string> listed;
  for (const std::string& line : Lines(run.out)) {
    const size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    listed[line.substr(0, tab)] = line.substr(tab + 1);
  }
  std::map<std::string, std::string> expected;
  for (const Page& page : Pages()) {
    // Names are printed in UTF-8.
    expected[Latin1ToUtf8(page.stored)] = std::to_string(page.bytes.size());
  }
  EXPECT_EQ(listed, expected);
}

TEST_F(StubSwitches, ExtractWritesByteIdenticalFiles) {
  MakeGoodBook();
  const RunResult run = Run(L"/extract \"out dir\\book\"");
  EXPECT_EQ(run.exit_code, 0u) << run.err;
  for (const Page& page : Pages()) {
    SCOPED_TRACE(page.stored);
    EXPECT_EQ(ReadFileBytes(folder_ + L"out dir\\book\\" + Wide(page.stored)), page.bytes);
  }
}

TEST_F(StubSwitches, FetchServesEveryKindOfFileWithItsType) {
  MakeGoodBook();
  for (const Page& page : Pages()) {
    SCOPED_TRACE(page.stored);
    const RunResult run = Run(L"/fetch \"ebook://book/" + Wide(page.stored) + L"\"");
    ASSERT_EQ(run.exit_code, 0u) << run.err;
    const Fetched fetched = ParseFetch(run.out);
    EXPECT_EQ(fetched.mime, page.mime);
    EXPECT_EQ(fetched.bytes, page.bytes);
  }
}

TEST_F(StubSwitches, FetchFindsLinksAsTheBrowserWritesThem) {
  MakeGoodBook();
  struct Case {
    const wchar_t* url;
    const char* stored;
  };
  const Case cases[] = {
      {L"ebook://book/Chapter%201.html", "CHAPTER 1.HTML"},  // percent-encoded, mixed case
      {L"ebook://book/index.htm?from=toc#top", "INDEX.HTM"},
      {L"ebook://book/Logo.Gif", "LOGO.GIF"},
      {L"ebook://book/%C3%BCbung.htm",
       "\xDC"
       "BUNG.HTM"},  // UTF-8, as IE escapes links
      {L"ebook://book/%FCbung.htm",
       "\xDC"
       "BUNG.HTM"},  // the ANSI code page
      // Relative links, resolved by urlmon against the index page.
      {L"Chapter%201.html", "CHAPTER 1.HTML"},
      {L"images/logo.gif", "LOGO.GIF"},
      {L"images/../notes.txt", "NOTES.TXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    const RunResult run = Run(L"/fetch \"" + std::wstring(c.url) + L"\"");
    ASSERT_EQ(run.exit_code, 0u) << run.err;
    for (const Page& page : Pages()) {
      if (std::string(page.stored) == c.stored) {
        EXPECT_EQ(ParseFetch(run.out).bytes, page.bytes);
      }
    }
  }
}

TEST_F(StubSwitches, AnEmptyPageIsServedAsANoticeNotAsABlankWindow) {
  const std::string record = kRecord;
  std::string error;
  ASSERT_TRUE(MakeBook(book_, &record, {{L"INDEX.HTM", kIndex}, {L"EMPTY.HTM", ""}}, error))
      << error;
  const RunResult run = Run(L"/fetch ebook://book/EMPTY.HTM");
  ASSERT_EQ(run.exit_code, 0u) << run.err;
  const Fetched fetched = ParseFetch(run.out);
  EXPECT_EQ(fetched.mime, "text/html");
  EXPECT_NE(fetched.bytes.find("This page is empty in the e-book"), std::string::npos)
      << fetched.bytes;
}

TEST_F(StubSwitches, FetchReportsAMissingPage) {
  MakeGoodBook();
  const RunResult run = Run(L"/fetch gone.htm");
  EXPECT_EQ(run.exit_code, 5u);
  EXPECT_NE(run.err.find("No page at ebook://book/gone.htm"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

TEST_F(StubSwitches, FetchNeverLeavesTheBook) {
  MakeGoodBook();
  for (const wchar_t* url : {L"http://example.com/", L"file:///C:/windows/win.ini"}) {
    const RunResult run = Run(std::wstring(L"/fetch ") + url);
    EXPECT_EQ(run.exit_code, 2u);
    EXPECT_NE(run.err.find("the book's own pages only"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(StubSwitches, TheBareStubSaysWhatItIs) {
  std::string error;
  ASSERT_TRUE(MakeBook(book_, nullptr, {}, error)) << error;
  const RunResult run = Run(L"/settings");
  EXPECT_EQ(run.exit_code, 3u);
  EXPECT_NE(run.err.find("viewer of the Vexmar E-book Compiler"), std::string::npos) << run.err;
}

TEST_F(StubSwitches, HostileRecordsGetTheirMessage) {
  struct Case {
    const char* name;
    const std::string* record;
    const char* message_part;
  };
  const std::string short_record = "Title:Author:index.htm:3/14/2026";
  const std::string empty_record;
  const Case cases[] = {
      {"fewer than nine fields", &short_record, "has 4 fields instead of 9"},
      {"empty record", &empty_record, "is empty"},
      {"no record", nullptr, "no settings record"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    ASSERT_TRUE(MakeBook(book_, c.record, {{L"INDEX.HTM", kIndex}}, error)) << error;
    const RunResult run = Run(L"/settings");
    EXPECT_EQ(run.exit_code, 4u);
    EXPECT_NE(run.err.find(c.message_part), std::string::npos) << run.err;
  }
}

TEST_F(StubSwitches, HostileNamesAreRefusedAndNothingLeavesTheFolder) {
  const std::string record = kRecord;
  std::string error;
  ASSERT_TRUE(MakeBook(book_, &record,
                       {{L"INDEX.HTM", kIndex},
                        {L"..\\ESCAPED.HTM", "x"},
                        {L"C:ROOTED.HTM", "x"},
                        {L"C:\\ABSOLUTE.HTM", "x"},
                        {L"EMPTY.HTM", ""}},
                       error))
      << error;
  const RunResult run = Run(L"/extract inside");
  EXPECT_EQ(run.exit_code, 6u) << run.err;
  EXPECT_NE(run.err.find("Refused entry ..\\ESCAPED.HTM"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Refused entry C:ROOTED.HTM"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Refused entry C:\\ABSOLUTE.HTM"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\"EMPTY.HTM\" is empty"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFileBytes(folder_ + L"inside\\INDEX.HTM"), kIndex);
  EXPECT_TRUE(FileExists(folder_ + L"inside\\EMPTY.HTM"));
  EXPECT_FALSE(FileExists(folder_ + L"ESCAPED.HTM"));
  EXPECT_FALSE(FileExists(L"C:\\ABSOLUTE.HTM"));
  EXPECT_FALSE(FileExists(L"C:\\ROOTED.HTM"));
  EXPECT_FALSE(FileExists(folder_ + L"ROOTED.HTM"));

  const RunResult list = Run(L"/list");
  EXPECT_EQ(list.exit_code, 0u);
  EXPECT_NE(list.out.find("EMPTY.HTM\t0"), std::string::npos) << list.out;
  EXPECT_NE(list.err.find("\"EMPTY.HTM\" is empty"), std::string::npos) << list.err;
}

TEST_F(StubSwitches, AnEmptyIndexPageIsNamed) {
  const std::string record = kRecord;
  std::string error;
  ASSERT_TRUE(MakeBook(book_, &record, {{L"INDEX.HTM", ""}}, error)) << error;
  const RunResult run = Run(L"/settings");
  EXPECT_EQ(run.exit_code, 4u);
  EXPECT_NE(run.err.find("\"index.htm\" is empty"), std::string::npos) << run.err;
}

TEST_F(StubSwitches, UnknownSwitchesAreAUsageError) {
  MakeGoodBook();
  const RunResult run = Run(L"/lst");
  EXPECT_EQ(run.exit_code, 2u);
  EXPECT_NE(run.err.find("Unknown switch"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vexmar::viewer::testing
