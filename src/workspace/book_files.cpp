#include "workspace/book_files.h"

namespace vexmar::workspace {

bool QualifiesForBook(std::string_view name) {
  static constexpr std::string_view kSuffixes[] = {".txt", ".htm", "html", ".gif",
                                                   ".jpg", "jpeg", ".png"};
  const std::string_view tail = name.size() > 4 ? name.substr(name.size() - 4) : name;
  for (const std::string_view suffix : kSuffixes) {
    if (tail == suffix) return true;
  }
  return false;
}

}  // namespace vexmar::workspace
