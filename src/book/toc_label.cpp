#include "book/toc_label.h"

namespace vexmar::book {

std::string TocLabel(std::string_view entry) {
  const auto separator = entry.find_last_of("\\/");
  if (separator != std::string_view::npos) entry.remove_prefix(separator + 1);
  return std::string(entry.substr(0, entry.find('.')));
}

}  // namespace vexmar::book
