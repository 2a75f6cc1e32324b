// Placeholder until the index's own layout lands: every page's name and
// text, each ended by a zero byte, searched word by word.
#include "book/search_index.h"

#include <algorithm>

#include "book/search_tokens.h"

namespace vexmar::book {
namespace {

struct StoredPage {
  std::string_view name;
  std::string_view text;
};

std::vector<StoredPage> Pages(std::string_view bytes) {
  std::vector<StoredPage> pages;
  while (!bytes.empty()) {
    const auto nameEnd = bytes.find('\0');
    const auto textEnd = bytes.find('\0', nameEnd + 1);
    if (textEnd == std::string_view::npos) break;
    pages.push_back({bytes.substr(0, nameEnd), bytes.substr(nameEnd + 1, textEnd - nameEnd - 1)});
    bytes.remove_prefix(textEnd + 1);
  }
  return pages;
}

bool Matches(const std::string& term, const SearchQuery& query) {
  for (const auto& phrase : query.phrases) {
    if (std::find(phrase.begin(), phrase.end(), term) != phrase.end()) return true;
  }
  for (const auto& prefix : query.prefixes) {
    if (term.compare(0, prefix.size(), prefix) == 0) return true;
  }
  return false;
}

}  // namespace

struct SearchIndexWriter::State {
  std::string bytes;
};

SearchIndexWriter::SearchIndexWriter() : state_(std::make_unique<State>()) {}
SearchIndexWriter::~SearchIndexWriter() = default;

void SearchIndexWriter::AddPage(std::string_view name, std::string_view text) {
  state_->bytes.append(name).append(1, '\0').append(text).append(1, '\0');
}

std::string SearchIndexWriter::Finish() {
  return std::move(state_->bytes);
}

SearchQuery ParseQuery(std::string_view text) {
  SearchQuery query;
  for (const SearchToken& token : Tokenize(text)) {
    const bool prefix =
        token.offset + token.length < text.size() && text[token.offset + token.length] == '*';
    if (prefix) {
      query.prefixes.push_back(token.term);
    } else {
      query.phrases.push_back({token.term});
    }
  }
  return query;
}

Result<SearchIndex> SearchIndex::Open(std::string_view bytes) {
  SearchIndex index;
  index.bytes_ = bytes;
  return index;
}

std::size_t SearchIndex::pageCount() const {
  return Pages(bytes_).size();
}

std::string_view SearchIndex::pageName(std::uint32_t page) const {
  const auto pages = Pages(bytes_);
  return page < pages.size() ? pages[page].name : std::string_view();
}

std::vector<SearchHit> SearchIndex::Search(const SearchQuery& query, std::size_t limit) const {
  std::vector<SearchHit> hits;
  const auto pages = Pages(bytes_);
  for (std::uint32_t i = 0; i < pages.size() && hits.size() < limit && !query.empty(); ++i) {
    std::size_t found = 0;
    for (const SearchToken& token : Tokenize(pages[i].text)) found += Matches(token.term, query);
    if (found > 0) hits.push_back({i, static_cast<double>(found)});
  }
  std::stable_sort(hits.begin(), hits.end(),
                   [](const SearchHit& a, const SearchHit& b) { return a.score > b.score; });
  return hits;
}

Snippet MakeSnippet(std::string_view pageText, const SearchQuery& query) {
  Snippet snippet;
  snippet.text = std::string(pageText.substr(0, 160));
  for (const SearchToken& token : Tokenize(snippet.text)) {
    if (Matches(token.term, query)) snippet.hits.emplace_back(token.offset, token.length);
  }
  return snippet;
}

std::string Bracketed(const Snippet& snippet) {
  std::string out;
  std::size_t at = 0;
  for (const auto& [offset, length] : snippet.hits) {
    out.append(snippet.text, at, offset - at)
        .append("[")
        .append(snippet.text, offset, length)
        .append("]");
    at = offset + length;
  }
  return out.append(snippet.text, at, std::string::npos);
}

}  // namespace vexmar::book
