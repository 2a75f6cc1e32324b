#pragma once
#include <string_view>

namespace vexmar::fs {

// Matches a file name against a pattern with * (any run of characters) and
// ? (one character), comparing the other characters exactly.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

inline bool HasWildcard(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

}  // namespace vexmar::fs
