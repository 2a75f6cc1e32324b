#include <windows.h>

#include "platform/text/short_date.h"
#include "platform/text/text.h"

namespace vexmar::text {
namespace {

// The user's short date pattern with a two-digit year ("yy") widened to four;
// "yyyy" stays as it is.
std::wstring FullYearPattern(std::wstring pattern) {
  std::wstring out;
  for (std::size_t i = 0; i < pattern.size();) {
    if (pattern[i] == L'y') {
      std::size_t run = 0;
      while (i + run < pattern.size() && pattern[i + run] == L'y') ++run;
      out += run <= 2 ? L"yyyy" : pattern.substr(i, run);
      i += run;
    } else if (pattern[i] == L'\'') {  // quoted text stays as it is
      const std::size_t close = pattern.find(L'\'', i + 1);
      const std::size_t end = close == std::wstring::npos ? pattern.size() : close + 1;
      out += pattern.substr(i, end - i);
      i = end;
    } else {
      out += pattern[i++];
    }
  }
  return out;
}

}  // namespace

Date Today() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

std::string ShortDate(const Date& date) {
  wchar_t pattern[128] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, 128) == 0) {
    wcscpy(pattern, L"M/d/yyyy");
  }
  const std::wstring full = FullYearPattern(pattern);
  SYSTEMTIME when{};
  when.wYear = static_cast<WORD>(date.year);
  when.wMonth = static_cast<WORD>(date.month);
  when.wDay = static_cast<WORD>(date.day);
  wchar_t buffer[128] = {};
  const int n =
      GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &when, full.c_str(), buffer, 128, nullptr);
  if (n <= 1)
    return std::to_string(date.month) + "/" + std::to_string(date.day) + "/" +
           std::to_string(date.year);
  return Utf16ToUtf8(std::u16string(buffer, buffer + n - 1));
}

}  // namespace vexmar::text
