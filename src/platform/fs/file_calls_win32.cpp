#include "platform/fs/file_calls_win32.h"

#include <algorithm>

#include "platform/text/utf.h"

namespace vexmar::fs::win32 {

std::wstring Wide(std::string_view utf8) {
  const std::u16string u16 = utf::Utf8ToUtf16(utf8);
  return std::wstring(u16.begin(), u16.end());
}

std::string Utf8(const wchar_t* wide) {
  return utf::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide));
}

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

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsReadOnlyFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace vexmar::fs::win32
