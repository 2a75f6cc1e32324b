#pragma once
// The Win32 calls that the file system and its temporary files share, with
// failures in the words the program's messages use.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/result.h"

namespace vexmar::fs::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(const wchar_t* wide);
// GetLastError as the program's messages say it.
Error LastError();
Status WriteAll(HANDLE file, std::string_view content);
// The folder part of a path, with its trailing separator; empty for a bare name.
std::string FolderOf(const std::string& path);
// Windows refuses to replace a read-only file; asked directly, since not
// every implementation of the rename does (Wine replaces it).
bool IsReadOnlyFile(const std::wstring& path);

}  // namespace vexmar::fs::win32
