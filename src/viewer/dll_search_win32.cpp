#include "viewer/dll_search_win32.h"

#include <string>

namespace vexmar::viewer {

void RestrictDllSearchToSystem32() {
  // SetDefaultDllDirectories needs Windows 8 or KB2533623 on Windows 7; look
  // it up so the viewer still starts on a Windows 7 without that update.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
  if (set_default == nullptr || !set_default(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    // At least take the current folder out of the search.
    SetDllDirectoryW(L"");
  }
}

HMODULE LoadSystemLibrary(const wchar_t* file_name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return nullptr;
  }
  std::wstring path(folder, length);
  path += L'\\';
  path += file_name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace vexmar::viewer
