#include "book/page_order.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "book/entry_name.h"
#include "book/percent_decode.h"
#include "book/toc_label.h"
#include "platform/text/utf.h"

namespace vexmar::book {
namespace {

// A page's name as the book compares it: upper case as the loader folds it,
// "\" between folders.
std::string Key(std::string_view name) {
  std::string key = UpperCaseName(name);
  std::replace(key.begin(), key.end(), '/', '\\');
  return key;
}

// Without a code page to read them by, escaped bytes that are no UTF-8 stand
// for characters nobody can name; they match no page.
std::string Unknown(std::string_view bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) utf::AppendUtf8(out, 0xFFFD);
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// True when the link starts with "scheme:" (a web address, mail, a drive).
bool HasScheme(std::string_view url) {
  for (std::size_t i = 0; i < url.size(); ++i) {
    const char c = url[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (c == ':') return i > 0;
    if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) {
      return false;
    }
  }
  return false;
}

class PageFinder {
 public:
  PageFinder(const std::vector<std::string>& pages, AnsiDecoder ansi)
      : ansi_(ansi ? ansi : Unknown) {
    for (std::size_t i = 0; i < pages.size(); ++i) byKey_.emplace(Key(pages[i]), i);
  }

  std::optional<std::size_t> Find(std::string_view name) const {
    const auto found = byKey_.find(Key(name));
    if (found == byKey_.end()) return std::nullopt;
    return found->second;
  }

  // The page a link of a page in `folder` ("" at the top, else ending in
  // "\") leads to, as a browser resolves it against the page's address.
  std::optional<std::size_t> Resolve(std::string_view link, const std::string& folder) const {
    // Browsers drop blanks around an address and tabs and line breaks in it.
    std::string url;
    for (const char c : link) {
      if (c != '\t' && c != '\n' && c != '\r') url += c;
    }
    const auto first = std::find_if_not(url.begin(), url.end(), IsBlank);
    url.erase(url.begin(), first);
    while (!url.empty() && IsBlank(url.back())) url.pop_back();
    url.erase(std::min(url.find('#'), url.size()));
    url.erase(std::min(url.find('?'), url.size()));
    // An empty link is the page itself; "/x" and "scheme:" leave the book.
    if (url.empty() || url.front() == '/' || url.front() == '\\' || HasScheme(url)) {
      return std::nullopt;
    }
    const std::optional<std::string> path = PercentDecode(url, ansi_);
    if (!path) return std::nullopt;
    std::string resolved = folder;
    std::string_view segment;
    for (std::size_t start = 0; start <= path->size();) {
      const std::size_t end = std::min(path->find_first_of("/\\", start), path->size());
      segment = std::string_view(*path).substr(start, end - start);
      start = end + 1;
      if (segment == "..") {
        if (resolved.empty()) return std::nullopt;  // above the book's top
        resolved.pop_back();
        resolved.erase(resolved.rfind('\\') + 1);  // npos + 1: all of it
      } else if (!segment.empty() && segment != ".") {
        resolved.append(segment.data(), segment.size());
        resolved += '\\';
      }
    }
    if (resolved.empty() || segment.empty() || segment == "." || segment == "..") {
      return std::nullopt;  // a folder
    }
    resolved.pop_back();
    if (const auto page = Find(resolved)) return page;
    // The viewer also serves a file of a sub-folder by its bare name, as books
    // made before sub-folders were kept hold it; a link it serves so counts.
    const std::size_t slash = resolved.rfind('\\');
    if (slash == std::string::npos) return std::nullopt;
    return Find(std::string_view(resolved).substr(slash + 1));
  }

 private:
  AnsiDecoder ansi_;
  std::unordered_map<std::string, std::size_t> byKey_;
};

std::string FolderOf(const std::string& page) {
  const std::size_t slash = page.find_last_of("\\/");
  if (slash == std::string::npos) return {};
  return Key(std::string_view(page).substr(0, slash + 1));
}

}  // namespace

std::vector<std::size_t> ReadingOrder(
    std::size_t indexPage, const std::vector<std::string>& pages,
    const std::function<std::vector<std::string>(std::size_t page)>& linksOf, AnsiDecoder ansi) {
  const PageFinder finder(pages, ansi);
  std::vector<bool> placed(pages.size(), false);
  std::vector<std::size_t> order;
  order.reserve(pages.size());
  if (indexPage < pages.size()) {
    placed[indexPage] = true;
    order.push_back(indexPage);
  }
  // The order so far is the queue of breadth-first search: each page's
  // links are followed in the order the page was placed.
  for (std::size_t next = 0; next < order.size(); ++next) {
    const std::size_t page = order[next];
    const std::string folder = FolderOf(pages[page]);
    for (const std::string& link : linksOf(page)) {
      const std::optional<std::size_t> target = finder.Resolve(link, folder);
      if (!target || placed[*target]) continue;
      placed[*target] = true;
      order.push_back(*target);
    }
  }
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (!placed[i]) order.push_back(i);
  }
  return order;
}

std::string PageTitle(const PageText& text, std::string_view name) {
  if (!text.title.empty()) return text.title;
  if (!text.heading.empty()) return text.heading;
  std::string label = TocLabel(name);
  if (!label.empty()) return label;
  // ".htm" has no label; the name itself still tells the reader something.
  const std::size_t slash = name.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

}  // namespace vexmar::book
