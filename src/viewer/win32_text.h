#pragma once
// UTF-8 inside the viewer, UTF-16 at Win32 calls, the ANSI code page where
// the settings record passes through it.
#include <string>
#include <string_view>

namespace vexmar::viewer {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The system's ANSI code page to UTF-8 (an AnsiDecoder).
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace vexmar::viewer
