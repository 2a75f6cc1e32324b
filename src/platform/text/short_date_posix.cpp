#include <langinfo.h>

#include <clocale>
#include <ctime>

#include "platform/text/short_date.h"

namespace vexmar::text {
namespace {

// The locale's date format with every two-digit year widened to four.
std::string FullYearFormat(std::string format) {
  for (std::size_t i = format.find("%y"); i != std::string::npos; i = format.find("%y", i)) {
    format[i + 1] = 'Y';
  }
  return format;
}

}  // namespace

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string ShortDate(const Date& date) {
  const char* locale = std::setlocale(LC_TIME, nullptr);
  const std::string name = locale == nullptr ? "C" : locale;
  if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) {
    return std::to_string(date.month) + "/" + std::to_string(date.day) + "/" +
           std::to_string(date.year);
  }
  std::tm tm{};
  tm.tm_year = date.year - 1900;
  tm.tm_mon = date.month - 1;
  tm.tm_mday = date.day;
  char buffer[64];
  const std::string format = FullYearFormat(nl_langinfo(D_FMT));
  const std::size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
  return std::string(buffer, n);
}

}  // namespace vexmar::text
