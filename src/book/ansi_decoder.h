#pragma once
#include <string>
#include <string_view>

namespace vexmar::book {

// Bytes in the ANSI code page of this machine to UTF-8. The Win32 build
// passes the system's converter; tests pass their own.
using AnsiDecoder = std::string (*)(std::string_view ansi);

}  // namespace vexmar::book
