// Placeholder until the reading order lands: the index page, then the rest
// in the order given.
#include "book/page_order.h"

namespace vexmar::book {

std::vector<std::size_t> ReadingOrder(
    std::size_t indexPage, const std::vector<std::string>& pages,
    const std::function<std::vector<std::string>(std::size_t page)>& /*linksOf*/) {
  std::vector<std::size_t> order;
  if (indexPage < pages.size()) order.push_back(indexPage);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i != indexPage) order.push_back(i);
  }
  return order;
}

std::string PageTitle(const PageText& text, std::string_view name) {
  if (!text.title.empty()) return text.title;
  if (!text.heading.empty()) return text.heading;
  const auto separator = name.find_last_of("\\/");
  if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
  return std::string(name.substr(0, name.find('.')));
}

}  // namespace vexmar::book
