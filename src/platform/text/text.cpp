#include "platform/text/text.h"

namespace vexmar::text {

std::string_view TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string AsSentence(std::string reason) {
  if (!reason.empty() && reason[0] >= 'a' && reason[0] <= 'z') {
    reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
  }
  if (reason.empty() || reason.back() != '.') reason += '.';
  return reason;
}

}  // namespace vexmar::text
