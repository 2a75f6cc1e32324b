#pragma once
// Dates as the author's own short date format writes them.
#include <string>

namespace vexmar::text {

struct Date {
  int year;   // with the century: 2031
  int month;  // 1 to 12
  int day;    // 1 to 31
};

Date Today();

// The date in the user's short date format, always with the full year (a
// format that writes two digits gets four), so a book built in 2031 never
// reads as 1931. Where the platform has no user format (the C locale), the
// United States form M/d/yyyy.
std::string ShortDate(const Date& date);

}  // namespace vexmar::text
