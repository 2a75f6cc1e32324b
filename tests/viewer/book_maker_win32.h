#pragma once
// Test books: a copy of dmsfx.dat with a settings record and file entries
// written into it, and a way to run it and read what it printed.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace vexmar::viewer::testing {

struct BookFile {
  std::wstring entry_name;  // stored as given (the resource API upper-cases it)
  std::string bytes;
};

// The stub and its test build that records what it would hand to the
// shell, on drive Z:, where Wine shows the Unix root.
inline const wchar_t kStub[] = VEXMAR_VIEWER_STUB;
inline const wchar_t kRecordingStub[] = VEXMAR_VIEWER_RECORDING_STUB;

// Copies `stub` to `path` and writes the entries; no record when `record`
// is null. Returns why that failed, or "".
std::string MakeBook(const std::wstring& path, const std::string* record,
                     const std::vector<BookFile>& files, const std::wstring& stub = kStub,
                     uint16_t record_language = 1033);

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
                    const std::wstring& folder);

std::vector<std::string> Lines(const std::string& text);  // without their "\r"
std::wstring TempPath();                                  // ends in "\"
std::string ReadFileBytes(const std::wstring& path);

}  // namespace vexmar::viewer::testing
