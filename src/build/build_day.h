#pragma once
// The day a book is built on: today, or the day SOURCE_DATE_EPOCH names, so
// that the same project and stub build the same bytes on any machine and on
// any later day (reproducible builds).
#include <functional>
#include <string>

#include "platform/result.h"
#include "platform/text/short_date.h"

namespace vexmar::build {

struct BuildDay {
  text::Date date;
  std::string recordText;  // the settings record's date field
};

// With no SOURCE_DATE_EPOCH (null or empty), today's date in the user's short
// date format. With one (whole seconds since 1970-01-01 UTC), that moment's
// day in UTC, written M/d/yyyy whatever the machine's date settings, so the
// record is the same on every machine; a value that is no such number is an
// error rather than a silently different book.
Result<BuildDay> ChooseBuildDay(const char* sourceDateEpoch,
                                const std::function<text::Date()>& today);

// The moment as a UTC date; seconds before 1970 or past year 9999 are refused.
Result<text::Date> UtcDateOfEpochSeconds(const std::string& seconds);

}  // namespace vexmar::build
