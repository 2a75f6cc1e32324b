#pragma once
// The label a page gets in the table of contents the build puts in front of
// the index page; the reader's contents fall back on it for a page without a
// title or heading, so both name a page alike.
#include <string>
#include <string_view>

namespace vexmar::book {

// The name after its last folder separator, up to its first "."; a name
// without "." is its own label.
std::string TocLabel(std::string_view entry);

}  // namespace vexmar::book
