#pragma once
// Test books: a copy of dmsfx.dat with a settings record and file entries
// written into it, and a way to run it and read what it printed.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace vexmar::viewer::testing {

struct BookFile {
  std::wstring entry_name;  // stored as given (the resource API upper-cases it)
  std::string bytes;
};

// The stub built by this tree, and its test build that records what it
// would hand to the shell, as Windows paths.
std::wstring StubPath();
std::wstring RecordingStubPath();

// Copies `stub` to `path` and writes the entries; no record when `record`
// is null. Returns false (with the reason in `error`) when that failed.
bool MakeBook(const std::wstring& path, const std::string* record,
              const std::vector<BookFile>& files, std::string& error,
              const std::wstring& stub = StubPath(), uint16_t record_language = 1033);

struct RunResult {
  DWORD exit_code = 0xFFFFFFFF;
  std::string out;  // what /out wrote (the tests always pass /out)
  std::string err;  // standard error
};

// Runs `program` with `arguments` (already quoted) and "/out <temp file>",
// with a time limit.
RunResult RunViewer(const std::wstring& program, const std::wstring& arguments,
                    const std::wstring& scratch_folder);
// Runs `program` without switches, as a double-click does; the exit code.
DWORD RunViewerWindow(const std::wstring& program, const std::wstring& scratch_folder);
std::wstring TempPath();

std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
std::wstring MakeScratchFolder();
void RemoveFolder(const std::wstring& folder);

}  // namespace vexmar::viewer::testing
