#include "viewer/reader_state_win32.h"

#include <shlobj.h>

#include "viewer/win32_text.h"

namespace vexmar::viewer {

std::wstring ReaderStatePath() {
  wchar_t settings[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, settings))) {
    return {};
  }
  wchar_t book[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, book, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(settings) + L"\\Vexmar\\Reader\\" +
         Widen(ReaderStateFileName(Narrow(std::wstring_view(book, length))));
}

ReaderState LoadReaderState(const std::wstring& path) {
  if (path.empty()) return {};
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  // One byte more than a file of ours may have tells a larger one apart.
  char bytes[kMaxReaderStateBytes + 1];
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes, sizeof bytes, &read, nullptr);
  CloseHandle(file);
  return ok ? ReadReaderState(std::string_view(bytes, read)) : ReaderState{};
}

bool SaveReaderState(const std::wstring& path, const ReaderState& state) {
  if (path.empty()) return false;
  const size_t slash = path.rfind(L'\\');
  const std::wstring folder = path.substr(0, slash);
  CreateDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  // std::to_wstring would bring the C library's whole formatter into the stub.
  const std::wstring temporary =
      path + L"." + Widen(std::to_string(GetCurrentProcessId())) + L".tmp";
  const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string text = WriteReaderState(state);
  DWORD written = 0;
  const bool ok =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (ok && MoveFileExW(temporary.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}

}  // namespace vexmar::viewer
