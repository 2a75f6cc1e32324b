// The file system on Windows, through the W functions so every name the
// author's folder holds can be listed.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/fs/file_system.h"
#include "platform/text/text.h"

namespace vexmar::fs {
namespace {

std::wstring Wide(std::string_view utf8) {
  const std::u16string u16 = text::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string Utf8(const wchar_t* wide) {
  return text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide));
}

// Failures in the words the program's messages use.
Error LastError() {
  const DWORD error = GetLastError();
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return Fail("the file or its folder does not exist", ErrorKind::NotFound);
    case ERROR_ACCESS_DENIED:
      return Fail("access is denied", ErrorKind::AccessDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return Fail("the disk is full", ErrorKind::DiskFull);
    case ERROR_WRITE_PROTECT:
      return Fail("the disk is write-protected", ErrorKind::ReadOnly);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return Fail("the file is in use by another program", ErrorKind::InUse);
    case ERROR_NOT_READY:
      return Fail("the drive is not ready", ErrorKind::NotFound);
    default:
      break;
  }
  wchar_t* message = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string reason = n > 0 ? Utf8(message) : "error " + std::to_string(error);
  if (message != nullptr) LocalFree(message);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == '.' || reason.back() == ' ')) {
    reason.pop_back();
  }
  return Fail(reason);
}

Status WriteAll(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 24));
    DWORD written = 0;
    if (!WriteFile(file, content.data(), chunk, &written, nullptr)) {
      return LastError();
    }
    content.remove_prefix(written);
  }
  return {};
}

Status WriteAll(HANDLE file, ContentSource& content) {
  for (;;) {
    const Result<std::string_view> piece = content.Next();
    if (!piece) return piece.error();
    if (piece.value().empty()) return {};
    if (Status written = WriteAll(file, piece.value()); !written) return written;
  }
}

constexpr DWORD kNotNormal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;

bool IsNormalFile(const WIN32_FIND_DATAW& found) {
  return (found.dwFileAttributes & kNotNormal) == 0;
}

// A junction or a symbolic link to a folder is a reparse point: it could
// lead out of the project or round in a circle, so it is not entered.
bool IsPlainFolder(const WIN32_FIND_DATAW& found) {
  constexpr DWORD kNotPlain =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (found.dwFileAttributes & kNotPlain) == 0 && wcscmp(found.cFileName, L".") != 0 &&
         wcscmp(found.cFileName, L"..") != 0;
}

using FoundTest = bool (*)(const WIN32_FIND_DATAW& found);

class Win32Listing final : public FileListing {
 public:
  Win32Listing(const std::string& pattern, FoundTest wanted) : wanted_(wanted) {
    std::wstring wide = Wide(pattern);
    if (!wide.empty() && (wide.back() == L'\\' || wide.back() == L'/')) wide += L'*';
    find_ = FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data_, FindExSearchNameMatch, nullptr,
                             FIND_FIRST_EX_LARGE_FETCH);
    pending_ = find_ != INVALID_HANDLE_VALUE;
  }
  ~Win32Listing() override { Close(); }
  Win32Listing(const Win32Listing&) = delete;
  Win32Listing& operator=(const Win32Listing&) = delete;

  std::string Next() override {
    while (find_ != INVALID_HANDLE_VALUE) {
      if (!pending_ && !FindNextFileW(find_, &data_)) {
        Close();
        break;
      }
      pending_ = false;
      if (wanted_(data_)) return Utf8(data_.cFileName);
    }
    return {};
  }

 private:
  void Close() {
    if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
    find_ = INVALID_HANDLE_VALUE;
  }

  FoundTest wanted_;
  WIN32_FIND_DATAW data_{};
  HANDLE find_ = INVALID_HANDLE_VALUE;
  bool pending_ = false;
};

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<FileListing> ListNormalFiles(const std::string& pattern) override {
    return std::make_unique<Win32Listing>(pattern, IsNormalFile);
  }

  std::unique_ptr<FileListing> ListSubfolders(const std::string& folder) override {
    return std::make_unique<Win32Listing>(folder, IsPlainFolder);
  }

  Result<std::string> ReadWholeFile(const std::string& path) override {
    // Others may read the file meanwhile (an editor that has the page open),
    // as the author would expect of any program that only reads.
    const HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    std::string content;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
      content.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[64 * 1024];
    for (;;) {
      DWORD n = 0;
      if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
        const Error error = LastError();
        CloseHandle(file);
        return error;
      }
      if (n == 0) break;
      content.append(buffer, n);
    }
    CloseHandle(file);
    return content;
  }

  Status WriteFileFrom(const std::string& path, ContentSource& content) override {
    const std::wstring target = Wide(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return Fail("it is a folder", ErrorKind::NotAFolder);
      }
      if (attributes & FILE_ATTRIBUTE_READONLY) {
        return Fail("the file is read-only", ErrorKind::ReadOnly);
      }
    }
    // A sibling in the same folder, so the final rename stays on one disk.
    const std::wstring temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    Status written = WriteAll(file, content);
    if (written && !FlushFileBuffers(file)) written = LastError();
    CloseHandle(file);
    if (written && !MoveFileExW(temp.c_str(), target.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      written = LastError();
    }
    if (!written) DeleteFileW(temp.c_str());
    return written;
  }

  Status CheckReadable(const std::string& path) override {
    const HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    CloseHandle(file);
    return {};
  }

  Status Copy(const std::string& from, const std::string& to) override {
    if (!CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE)) return LastError();
    return {};
  }

  Status Rename(const std::string& from, const std::string& to) override {
    // Windows refuses to replace a read-only file; asked here too, since
    // not every implementation of the call does (Wine replaces it).
    const DWORD attributes = GetFileAttributesW(Wide(to).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      return Fail("the file is read-only", ErrorKind::ReadOnly);
    }
    if (!MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return LastError();
    }
    return {};
  }

  Status Delete(const std::string& path) override {
    if (!DeleteFileW(Wide(path).c_str())) return LastError();
    return {};
  }

  bool FolderExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  Status CreateFolder(const std::string& path) override {
    if (!CreateDirectoryW(Wide(path).c_str(), nullptr)) return LastError();
    return {};
  }
};

}  // namespace

char PathSeparator() {
  return '\\';
}

std::string ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return ".\\";
    if (n < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::string path = Utf8(buffer.data());
  return path.substr(0, path.find_last_of("\\/") + 1);
}

FileSystem& RealFileSystem() {
  static Win32FileSystem instance;
  return instance;
}

}  // namespace vexmar::fs
