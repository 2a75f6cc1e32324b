// The build's side of the search entry. Every token costs one probe of an
// open-addressed table of the terms seen so far and a varint or two
// appended to that term's buffers; a page's counts are written when the
// page ends, so nothing is kept per page but the list of terms it touched.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "book/search_index.h"
#include "book/search_layout.h"
#include "book/search_tokens.h"

namespace vexmar::book {
namespace {

using namespace search_layout;

constexpr std::uint32_t kNoPage = std::numeric_limits<std::uint32_t>::max();

std::uint64_t HashTerm(std::string_view term) {
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (const char c : term) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  return hash;
}

struct Term {
  Term(std::uint32_t offset, std::uint32_t length, std::uint64_t textHash)
      : textOffset(offset), textLength(length), hash(textHash) {}

  std::uint32_t textOffset;  // in the writer's arena of term texts
  std::uint32_t textLength;
  std::uint64_t hash;
  std::uint32_t pageCount = 0;
  std::uint32_t lastPage = kNoPage;
  std::uint32_t lastPosition = 0;
  std::uint32_t countInPage = 0;
  std::string pages;      // per page: gap from the previous page, count
  std::string positions;  // per page: first position, then gaps
};

}  // namespace

struct SearchIndexWriter::State {
  std::string termText;
  std::vector<Term> terms;
  std::vector<std::uint32_t> slots = std::vector<std::uint32_t>(1024, 0);  // term + 1, 0 empty
  // The terms of the page being added, each with its gap from the page
  // before that held it.
  std::vector<std::uint32_t> touched;
  std::string pageTable;
  std::uint32_t pageCount = 0;

  std::string_view TextOf(const Term& term) const {
    return std::string_view(termText).substr(term.textOffset, term.textLength);
  }

  std::uint32_t Find(std::string_view text) {
    const std::uint64_t hash = HashTerm(text);
    std::size_t mask = slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      const std::uint32_t held = slots[slot];
      if (held == 0) {
        slots[slot] = static_cast<std::uint32_t>(terms.size() + 1);
        terms.emplace_back(static_cast<std::uint32_t>(termText.size()),
                           static_cast<std::uint32_t>(text.size()), hash);
        termText.append(text);
        if (terms.size() * 2 > slots.size()) Grow();
        return static_cast<std::uint32_t>(terms.size() - 1);
      }
      const Term& term = terms[held - 1];
      if (term.hash == hash && TextOf(term) == text) return held - 1;
    }
  }

  void Grow() {
    std::vector<std::uint32_t> wider(slots.size() * 2, 0);
    const std::size_t mask = wider.size() - 1;
    for (std::uint32_t id = 0; id < terms.size(); ++id) {
      std::size_t slot = terms[id].hash & mask;
      while (wider[slot] != 0) slot = (slot + 1) & mask;
      wider[slot] = id + 1;
    }
    slots.swap(wider);
  }
};

SearchIndexWriter::SearchIndexWriter() : state_(std::make_unique<State>()) {}
SearchIndexWriter::~SearchIndexWriter() = default;

void SearchIndexWriter::AddPage(std::string_view name, std::string_view text) {
  State& s = *state_;
  const std::uint32_t page = s.pageCount++;
  const std::vector<SearchToken> tokens = Tokenize(text);
  for (std::uint32_t position = 0; position < tokens.size(); ++position) {
    Term& term = s.terms[s.Find(tokens[position].term)];
    if (term.lastPage != page) {
      // The first gap counts from one before page 0, so no gap is zero.
      // It is written with the page's count once the page ends.
      const std::uint32_t gap = term.lastPage == kNoPage ? page + 1 : page - term.lastPage;
      s.touched.push_back(static_cast<std::uint32_t>(&term - s.terms.data()));
      s.touched.push_back(gap);
      PutVarint(term.positions, position);
      term.lastPage = page;
      term.lastPosition = position;
      term.countInPage = 1;
      ++term.pageCount;
    } else {
      PutVarint(term.positions, position - term.lastPosition);
      term.lastPosition = position;
      ++term.countInPage;
    }
  }
  // A page's entry: gap << 1 | 1 when the term stands once, else gap << 1
  // and the count; most terms of a page stand once.
  for (std::size_t i = 0; i < s.touched.size(); i += 2) {
    Term& term = s.terms[s.touched[i]];
    const std::uint32_t gap = s.touched[i + 1];
    if (term.countInPage == 1) {
      PutVarint(term.pages, gap << 1 | 1);
    } else {
      PutVarint(term.pages, gap << 1);
      PutVarint(term.pages, term.countInPage);
    }
  }
  s.touched.clear();
  PutVarint(s.pageTable, static_cast<std::uint32_t>(name.size()));
  s.pageTable.append(name);
  PutVarint(s.pageTable, static_cast<std::uint32_t>(tokens.size()));
}

std::string SearchIndexWriter::Finish() {
  State& s = *state_;
  std::vector<std::uint32_t> order(s.terms.size());
  for (std::uint32_t id = 0; id < order.size(); ++id) order[id] = id;
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return s.TextOf(s.terms[a]) < s.TextOf(s.terms[b]);
  });

  std::string blocks;
  std::string dictionary;
  std::size_t postingsSize = 0;
  std::string_view previous;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Term& term = s.terms[order[i]];
    const std::string_view text = s.TextOf(term);
    std::size_t shared = 0;
    if (i % kTermsPerBlock == 0) {
      PutU32(blocks, static_cast<std::uint32_t>(dictionary.size()));
      PutU32(blocks, static_cast<std::uint32_t>(postingsSize));
    } else {
      const std::size_t most = std::min(previous.size(), text.size());
      while (shared < most && previous[shared] == text[shared]) ++shared;
    }
    PutVarint(dictionary, static_cast<std::uint32_t>(shared));
    PutVarint(dictionary, static_cast<std::uint32_t>(text.size() - shared));
    dictionary.append(text.substr(shared));
    PutVarint(dictionary, term.pageCount);
    PutVarint(dictionary, static_cast<std::uint32_t>(term.pages.size()));
    PutVarint(dictionary, static_cast<std::uint32_t>(term.positions.size()));
    postingsSize += term.pages.size() + term.positions.size();
    previous = text;
  }

  const std::size_t pagesAt = kHeaderSize;
  const std::size_t blocksAt = pagesAt + s.pageTable.size();
  const std::size_t termsAt = blocksAt + blocks.size();
  const std::size_t postingsAt = termsAt + dictionary.size();
  const std::size_t size = postingsAt + postingsSize;
  std::string out;
  out.reserve(size);
  out.append(kMagic);
  for (const std::size_t field : {std::size_t{kVersion}, std::size_t{s.pageCount}, s.terms.size(),
                                  pagesAt, blocksAt, termsAt, postingsAt, size}) {
    PutU32(out, static_cast<std::uint32_t>(field));
  }
  out.append(s.pageTable).append(blocks).append(dictionary);
  for (const std::uint32_t id : order) {
    Term& term = s.terms[id];
    out.append(term.pages).append(term.positions);
    std::string().swap(term.pages);
    std::string().swap(term.positions);
  }
  return out;
}

}  // namespace vexmar::book
