#pragma once
// Which files of a project folder an e-book can hold.
#include <string_view>

namespace vexmar::workspace {

// A name qualifies when its last four characters (the whole name when it is
// shorter) are exactly one of ".txt", ".htm", "html", ".gif", ".jpg", "jpeg"
// or ".png". The comparison is case-sensitive, and "html" and "jpeg" admit any
// name ending in those letters (page.shtml, a file named html).
bool QualifiesForBook(std::string_view name);

}  // namespace vexmar::workspace
