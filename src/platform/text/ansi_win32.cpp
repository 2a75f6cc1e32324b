// The ANSI code page on Windows is the system's own (GetACP), so settings
// files and records read the same as every other ANSI program's on the machine.
#include <windows.h>

#include "platform/text/text.h"

namespace vexmar::text {
namespace {

// Characters beyond the first plane become one U+FFFD each, which the code
// page then writes as one "?", as every other unmappable character; Windows
// would write a surrogate pair as two.
std::wstring Wide(std::string_view utf8) {
  const std::u16string u16 = Utf8ToUtf16(utf8);
  std::wstring wide;
  wide.reserve(u16.size());
  for (std::size_t i = 0; i < u16.size(); ++i) {
    const bool pair = u16[i] >= 0xD800 && u16[i] <= 0xDBFF && i + 1 < u16.size();
    wide += pair ? L'\uFFFD' : static_cast<wchar_t>(u16[i]);
    if (pair) ++i;
  }
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage, BOOL* lost) {
  if (wide.empty()) return {};
  const int n = static_cast<int>(wide.size());
  // WC_NO_BEST_FIT_CHARS keeps "unmappable" honest: without it Windows turns
  // "ł" into "l", and a name would silently refer to another file.
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* defaultChar = codePage == CP_UTF8 ? nullptr : "?";
  BOOL* used = codePage == CP_UTF8 ? nullptr : lost;
  const int size =
      WideCharToMultiByte(codePage, flags, wide.data(), n, nullptr, 0, defaultChar, used);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), n, out.data(), size, defaultChar, used);
  return out;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
  BOOL lost = FALSE;
  return Narrow(Wide(utf8), GetACP(), &lost);
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = static_cast<int>(ansi.size());
  const int size = MultiByteToWideChar(GetACP(), 0, ansi.data(), n, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(GetACP(), 0, ansi.data(), n, wide.data(), size);
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

bool FitsAnsi(std::string_view utf8) {
  BOOL lost = FALSE;
  Narrow(Wide(utf8), GetACP(), &lost);
  return lost == FALSE;
}

}  // namespace vexmar::text
