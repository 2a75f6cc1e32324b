#pragma once
// Code-point walking shared by the text helpers of this folder.
#include <string>
#include <string_view>

namespace vexmar::text::detail {

// Decodes the code point at `i` and advances past it; malformed bytes give
// U+FFFD and advance by one.
char32_t NextCodePoint(std::string_view utf8, std::size_t& i);
void AppendCodePoint(std::string& out, char32_t cp);

}  // namespace vexmar::text::detail
