#pragma once
// The few UTF-8 operations the viewer needs; it links no text library of
// its own so the stub stays small.
#include <string>
#include <string_view>

namespace vexmar::viewer::utf8 {

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValid(std::string_view text);
// Calls `each` with every code point; malformed bytes come as U+FFFD.
template <typename Each>
void ForEachCodePoint(std::string_view text, Each each);
void Append(std::string& out, char32_t code_point);

// Reads one code point at `at`, advancing it; U+FFFD for a malformed byte.
char32_t Next(std::string_view text, size_t& at);

template <typename Each>
void ForEachCodePoint(std::string_view text, Each each) {
  size_t at = 0;
  while (at < text.size()) {
    each(Next(text, at));
  }
}

}  // namespace vexmar::viewer::utf8
