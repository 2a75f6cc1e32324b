// What the reader typed, read with the index's own tokenizer, and the
// piece of a page shown under each result.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "book/search_index.h"
#include "book/search_tokens.h"

namespace vexmar::book {
namespace {

// How much text a snippet shows, and how much of it comes before the first
// hit, in bytes of the page's text.
constexpr std::size_t kSnippetBytes = 160;
constexpr std::size_t kLeadBytes = 50;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";          // …
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // how Japanese separates words

std::size_t SpaceAt(std::string_view text, std::size_t at) {
  const char c = text[at];
  if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') return 1;
  return text.substr(at, kIdeographicSpace.size()) == kIdeographicSpace ? kIdeographicSpace.size()
                                                                        : 0;
}

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// `at` moved back to the start of the character it falls in (at most the
// three bytes a UTF-8 character can run on).
std::size_t CharacterStart(std::string_view text, std::size_t at) {
  for (int step = 0; step < 3 && at > 0 && at < text.size() && IsContinuation(text[at]); ++step) {
    --at;
  }
  return at;
}

void AddWord(std::string_view word, SearchQuery& query) {
  const std::vector<SearchToken> tokens = Tokenize(word);
  if (tokens.empty()) return;
  const SearchToken& last = tokens.back();
  const bool starred = word.back() == '*' && last.offset + last.length == word.size() - 1;
  if (tokens.size() == 1 && starred) {
    query.prefixes.push_back(last.term);
    return;
  }
  std::vector<std::string> phrase;
  for (const SearchToken& token : tokens) phrase.push_back(token.term);
  query.phrases.push_back(std::move(phrase));
}

struct Hit {
  std::size_t begin;
  std::size_t end;
};

// Where the query's parts stand in the page, in order, none overlapping.
std::vector<Hit> FindHits(std::string_view text, const SearchQuery& query) {
  const std::vector<SearchToken> tokens = Tokenize(text);
  std::vector<Hit> hits;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    std::size_t matched = 0;  // tokens of the longest part that starts here
    for (const auto& phrase : query.phrases) {
      if (phrase.empty() || phrase.size() > tokens.size() - i || phrase.size() <= matched) continue;
      bool all = true;
      for (std::size_t w = 0; w < phrase.size() && all; ++w) all = tokens[i + w].term == phrase[w];
      if (all) matched = phrase.size();
    }
    for (const std::string& prefix : query.prefixes) {
      if (matched == 0 && tokens[i].term.compare(0, prefix.size(), prefix) == 0) matched = 1;
    }
    if (matched == 0) continue;
    const SearchToken& last = tokens[i + matched - 1];
    const Hit hit{tokens[i].offset, last.offset + last.length};
    if (hits.empty() || hit.begin >= hits.back().end) hits.push_back(hit);
  }
  return hits;
}

}  // namespace

SearchQuery ParseQuery(std::string_view text) {
  SearchQuery query;
  std::size_t at = 0;
  while (at < text.size()) {
    if (const std::size_t space = SpaceAt(text, at); space > 0) {
      at += space;
    } else if (text[at] == '"') {  // a phrase runs to the closing quote or the end
      const std::size_t close = std::min(text.find('"', at + 1), text.size());
      std::vector<std::string> phrase;
      for (SearchToken& token : Tokenize(text.substr(at + 1, close - at - 1))) {
        phrase.push_back(std::move(token.term));
      }
      if (!phrase.empty()) query.phrases.push_back(std::move(phrase));
      at = close + 1;
    } else {
      std::size_t end = at;
      while (end < text.size() && text[end] != '"' && SpaceAt(text, end) == 0) ++end;
      AddWord(text.substr(at, end - at), query);
      at = end;
    }
  }
  return query;
}

Snippet MakeSnippet(std::string_view pageText, const SearchQuery& query) {
  const std::vector<Hit> hits = FindHits(pageText, query);
  std::size_t begin = 0;
  if (!hits.empty() && hits[0].begin > kLeadBytes) {
    begin = hits[0].begin - kLeadBytes;
    // Start at a word where one starts near enough.
    const std::size_t space = pageText.find(' ', begin);
    begin = space < hits[0].begin ? space + 1 : CharacterStart(pageText, begin);
  }
  std::size_t end = std::max(begin + kSnippetBytes, hits.empty() ? 0 : hits[0].end);
  end = end >= pageText.size() ? pageText.size() : CharacterStart(pageText, end);

  // Runs of white space (line ends, tabs) read as one space, so a snippet
  // stays on one line; hits are mapped as the text is copied.
  Snippet snippet;
  if (begin > 0) snippet.text.append(kEllipsis);
  auto hit = std::find_if(hits.begin(), hits.end(), [&](const Hit& h) { return h.begin >= begin; });
  std::size_t hitStart = 0;
  bool inSpace = true;
  for (std::size_t at = begin; at < end; ++at) {
    if (hit != hits.end() && hit->end > end) hit = hits.end();  // cut off: not marked
    if (hit != hits.end() && at == hit->begin) hitStart = snippet.text.size();
    const bool space = static_cast<unsigned char>(pageText[at]) <= ' ';
    if (!space) {
      snippet.text.push_back(pageText[at]);
    } else if (!inSpace) {
      snippet.text.push_back(' ');
    }
    inSpace = space;
    if (hit != hits.end() && at + 1 == hit->end) {
      snippet.hits.emplace_back(hitStart, snippet.text.size() - hitStart);
      ++hit;
    }
  }
  if (!snippet.text.empty() && snippet.text.back() == ' ') snippet.text.pop_back();
  if (end < pageText.size()) snippet.text.append(kEllipsis);
  return snippet;
}

std::string Bracketed(const Snippet& snippet) {
  std::string out;
  std::size_t at = 0;
  for (const auto& [offset, length] : snippet.hits) {
    if (offset < at || offset > snippet.text.size() || length > snippet.text.size() - offset) {
      continue;  // not a hit of this text
    }
    out.append(snippet.text, at, offset - at)
        .append("[")
        .append(snippet.text, offset, length)
        .append("]");
    at = offset + length;
  }
  return out.append(snippet.text, at, std::string::npos);
}

}  // namespace vexmar::book
