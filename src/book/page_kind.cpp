#include "book/page_kind.h"

namespace vexmar::book {
namespace {

// Suffixes are ASCII, so letter case is folded the ASCII way: no other
// character may stand in for one of their letters.
bool EndsWithIgnoringCase(std::string_view name, std::string_view lowerTail) {
  if (name.size() < lowerTail.size()) return false;
  name.remove_prefix(name.size() - lowerTail.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c =
        name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
    if (c != lowerTail[i]) return false;
  }
  return true;
}

}  // namespace

bool IsWebPageName(std::string_view name) {
  return EndsWithIgnoringCase(name, ".htm") || EndsWithIgnoringCase(name, ".html");
}

bool IsPageName(std::string_view name) {
  return IsWebPageName(name) || EndsWithIgnoringCase(name, ".txt");
}

}  // namespace vexmar::book
