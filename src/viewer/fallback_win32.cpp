#include "viewer/fallback_win32.h"

#include "viewer/desktop_win32.h"
#include "viewer/extract_win32.h"
#include "viewer/fallback_folder.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) {
    return {};
  }
  return std::wstring(temp, length);
}

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// The folder holds the files and sub-folders the viewer wrote. A link to a
// folder in it (someone else's doing) is neither entered nor removed, so
// the removal never reaches the reader's own files; the folder then stays.
void RemoveBookFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring path = folder + found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
                 !IsDotOrDotDot(found.cFileName)) {
        RemoveBookFolder(path + L"\\");
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

bool ProcessIsRunning(DWORD process_id) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, process_id);
  if (process == nullptr) {
    // Access denied means it runs under another account: leave its folder.
    return GetLastError() == ERROR_ACCESS_DENIED;
  }
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

}  // namespace

ExtractedBook::~ExtractedBook() {
  Remove();
}

bool ExtractedBook::Extract(const EntryIndex& entries, const BookEntry& index_page,
                            std::string& problem) {
  const std::wstring temp = TempFolder();
  if (temp.empty()) {
    problem = "There is no temporary folder to put the book's pages in.";
    return false;
  }
  // GetTickCount makes the name unique among the folders of this process.
  const std::wstring folder =
      temp + Widen(FallbackFolderName(GetCurrentProcessId(), GetTickCount())) + L"\\";
  if (!CreateDirectoryW(folder.c_str(), nullptr)) {
    problem = "Cannot create a folder for the book's pages in " + Narrow(temp) + ".";
    return false;
  }
  folder_ = folder;
  const ExtractReport report = ExtractEntries(entries, folder);
  const std::wstring index_path = folder + Widen(index_page.name);
  if (!report.folderOk || GetFileAttributesW(index_path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    problem = "Cannot write the book's pages to " + Narrow(folder) + ".";
    Remove();
    return false;
  }
  return true;
}

bool ExtractedBook::OpenPage(HWND owner, const BookEntry& page) const {
  // Files of sub-folders were written into sub-folders, under their names.
  return extracted() && OpenWithShell(owner, folder_ + Widen(page.name));
}

void ExtractedBook::Remove() {
  if (!folder_.empty()) {
    RemoveBookFolder(folder_);
    folder_.clear();
  }
}

void SweepStaleFolders() {
  const std::wstring temp = TempFolder();
  if (temp.empty()) {
    return;
  }
  WIN32_FIND_DATAW found;
  const HANDLE search =
      FindFirstFileW((temp + Widen(kFallbackFolderPrefix) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return;
  }
  do {
    // A link that only looks like one of our folders could lead the removal
    // into the reader's own files.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      continue;
    }
    const std::optional<uint32_t> owner = FallbackFolderOwner(Narrow(found.cFileName));
    if (owner && *owner != GetCurrentProcessId() && !ProcessIsRunning(*owner)) {
      RemoveBookFolder(temp + found.cFileName + L"\\");
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace vexmar::viewer
