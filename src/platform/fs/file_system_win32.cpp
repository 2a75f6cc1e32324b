// The file system on Windows, through the W functions so every name the
// author's folder holds can be listed.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/fs/file_calls_win32.h"
#include "platform/fs/file_system.h"
#include "platform/fs/temporary_file.h"

namespace vexmar::fs {
namespace {

using win32::LastError;
using win32::Utf8;
using win32::Wide;

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
    std::string content;
    const Status read = ReadInPieces(path, [&](std::string_view piece) { content += piece; });
    if (!read) return read.error();
    return content;
  }

  Status ReadInPieces(const std::string& path,
                      const std::function<void(std::string_view)>& piece) override {
    // Others may read the file meanwhile (an editor that has the page open),
    // as the author would expect of any program that only reads.
    const HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    char buffer[64 * 1024];
    for (;;) {
      DWORD n = 0;
      if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
        const Error error = LastError();
        CloseHandle(file);
        return error;
      }
      if (n == 0) break;
      piece(std::string_view(buffer, n));
    }
    CloseHandle(file);
    return {};
  }

  Status WriteFileFrom(const std::string& path, ContentSource& content) override {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return Fail("it is a folder", ErrorKind::NotAFolder);
      }
      if (attributes & FILE_ATTRIBUTE_READONLY) {
        return Fail("the file is read-only", ErrorKind::ReadOnly);
      }
    }
    auto temp = TemporaryFile::CreateBeside(path);
    if (!temp) return temp.error();
    const Status written = temp->WriteFrom(content);
    if (!written) return written;
    return temp->ReplaceTarget();
  }

  Status CheckReadable(const std::string& path) override {
    const HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError();
    CloseHandle(file);
    return {};
  }

  Result<std::string> CopyToTemporary(const std::string& from, const std::string& beside) override {
    const HANDLE in = CreateFileW(Wide(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) return LastError();
    auto temp = TemporaryFile::CreateBeside(beside);
    Status copied = temp ? Status{} : Status{temp.error()};
    char buffer[64 * 1024];
    while (copied) {
      DWORD n = 0;
      if (!ReadFile(in, buffer, sizeof buffer, &n, nullptr)) {
        copied = LastError();
        break;
      }
      if (n == 0) break;
      copied = temp->Write(std::string_view(buffer, n));
    }
    CloseHandle(in);
    if (!copied) return copied.error();
    return temp->Keep();
  }

  Status Rename(const std::string& from, const std::string& to) override {
    if (win32::IsReadOnlyFile(Wide(to))) return Fail("the file is read-only", ErrorKind::ReadOnly);
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
