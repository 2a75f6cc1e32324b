#include "viewer/win32_text.h"

#include <windows.h>

namespace vexmar::viewer {
namespace {

std::wstring ToWide(UINT code_page, std::string_view bytes) {
  if (bytes.empty()) {
    return {};
  }
  const int length = static_cast<int>(bytes.size());
  const int wide = MultiByteToWideChar(code_page, 0, bytes.data(), length, nullptr, 0);
  if (wide <= 0) {
    return {};
  }
  std::wstring out(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), length, out.data(), wide);
  return out;
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  return ToWide(CP_UTF8, utf8);
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) {
    return {};
  }
  const int length = static_cast<int>(utf16.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) {
    return {};
  }
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  return Narrow(ToWide(CP_ACP, ansi));
}

}  // namespace vexmar::viewer
