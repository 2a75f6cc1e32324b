#include "viewer/extract_win32.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "book/entry_name.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {

bool WriteWholeFile(const std::wstring& path, const uint8_t* data, size_t size) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  bool ok = true;
  while (ok && size > 0) {
    const DWORD chunk = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
    DWORD written = 0;
    ok = WriteFile(file, data, chunk, &written, nullptr) && written == chunk;
    data += chunk;
    size -= chunk;
  }
  ok = CloseHandle(file) && ok;
  if (!ok) {
    DeleteFileW(path.c_str());
  }
  return ok;
}

namespace {

// Makes the folders an entry of a sub-folder goes into (IMAGES\ for
// IMAGES\LOGO.GIF) under `prefix`, one part at a time. A part that exists
// already must be a plain folder: a link there (a junction someone put into
// the target folder) would carry the file out of it.
bool MakeFoldersFor(const std::wstring& prefix, const std::string& name) {
  std::wstring path = prefix;
  size_t start = 0;
  for (size_t at = name.find('\\'); at != std::string::npos; at = name.find('\\', start)) {
    path += Widen(name.substr(start, at - start));
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      return false;
    }
    path += L'\\';
    start = at + 1;
  }
  return true;
}

}  // namespace

ExtractReport ExtractEntries(const EntryIndex& entries, const std::wstring& folder) {
  ExtractReport report;
  // SHCreateDirectoryExW wants a full path.
  wchar_t full[MAX_PATH];
  const DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
  if (length == 0 || length >= MAX_PATH) {
    return report;
  }
  const int created = SHCreateDirectoryExW(nullptr, full, nullptr);
  const DWORD attributes = GetFileAttributesW(full);
  report.folderOk = (created == ERROR_SUCCESS || created == ERROR_ALREADY_EXISTS ||
                     created == ERROR_FILE_EXISTS) &&
                    attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (!report.folderOk) {
    return report;
  }
  std::wstring prefix(full, length);
  if (prefix.back() != L'\\') {
    prefix += L'\\';
  }
  std::vector<std::string> names;
  for (const BookEntry& entry : entries.entries()) {
    names.push_back(entry.name);
  }
  const std::vector<book::ExtractStep> plan = book::PlanExtraction(names);
  for (size_t i = 0; i < plan.size(); ++i) {
    const BookEntry& entry = entries.entries()[i];
    if (!plan[i].refusal.empty()) {
      report.refused.push_back(entry.name + ": " + plan[i].refusal);
      continue;
    }
    if (!MakeFoldersFor(prefix, entry.name) ||
        !WriteWholeFile(prefix + Widen(entry.name), entry.data, entry.size)) {
      report.failed.push_back(entry.name);
      continue;
    }
    ++report.written;
    if (entry.size == 0) {
      report.empty.push_back(entry.name);
    }
  }
  return report;
}

}  // namespace vexmar::viewer
