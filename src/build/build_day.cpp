#include "build/build_day.h"

#include <cstdint>

namespace vexmar::build {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kLastDay = 2932896;  // 9999-12-31, counted from 1970-01-01

// The civil date of a day count from 1970-01-01 (proleptic Gregorian).
text::Date DateOfDay(std::int64_t days) {
  days += 719468;
  const std::int64_t era = days / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

}  // namespace

Result<text::Date> UtcDateOfEpochSeconds(const std::string& seconds) {
  const Error bad =
      Fail("SOURCE_DATE_EPOCH is not a number of seconds since 1970: \"" + seconds + "\"");
  if (seconds.empty() || seconds.size() > 12) return bad;
  std::int64_t value = 0;
  for (const char c : seconds) {
    if (c < '0' || c > '9') return bad;
    value = value * 10 + (c - '0');
  }
  const std::int64_t day = value / kSecondsPerDay;
  if (day > kLastDay) return bad;
  return DateOfDay(day);
}

Result<BuildDay> ChooseBuildDay(const char* sourceDateEpoch,
                                const std::function<text::Date()>& today) {
  if (sourceDateEpoch == nullptr || *sourceDateEpoch == '\0') {
    const text::Date date = today();
    return BuildDay{date, text::ShortDate(date)};
  }
  const Result<text::Date> fixed = UtcDateOfEpochSeconds(sourceDateEpoch);
  if (!fixed) return fixed.error();
  const text::Date& d = fixed.value();
  return BuildDay{
      d, std::to_string(d.month) + "/" + std::to_string(d.day) + "/" + std::to_string(d.year)};
}

}  // namespace vexmar::build
