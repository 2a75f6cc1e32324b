// The file system on Windows, through the W functions so every name the
// author's folder holds can be listed.
#include <windows.h>

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

constexpr DWORD kNotNormal =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;

class Win32Listing final : public FileListing {
 public:
  explicit Win32Listing(const std::string& pattern) {
    std::wstring wide = Wide(pattern);
    if (!wide.empty() && (wide.back() == L'\\' || wide.back() == L'/')) wide += L'*';
    find_ = FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data_, FindExSearchNameMatch,
                             nullptr, FIND_FIRST_EX_LARGE_FETCH);
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
      if ((data_.dwFileAttributes & kNotNormal) == 0) return Utf8(data_.cFileName);
    }
    return {};
  }

 private:
  void Close() {
    if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
    find_ = INVALID_HANDLE_VALUE;
  }

  WIN32_FIND_DATAW data_{};
  HANDLE find_ = INVALID_HANDLE_VALUE;
  bool pending_ = false;
};

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<FileListing> ListNormalFiles(const std::string& pattern) override {
    return std::make_unique<Win32Listing>(pattern);
  }

  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    // Others may read the file meanwhile (an editor that has the page open),
    // as the author would expect of any program that only reads.
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
      content.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[64 * 1024];
    for (;;) {
      DWORD n = 0;
      if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
        CloseHandle(file);
        return std::nullopt;
      }
      if (n == 0) break;
      content.append(buffer, n);
    }
    CloseHandle(file);
    return content;
  }
};

}  // namespace

char PathSeparator() { return '\\'; }

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
