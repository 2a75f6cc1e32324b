// The build's side of the search entry. Every token costs one probe of an
// open-addressed table of the terms seen so far; when a page ends, each term
// it holds appends its positions there (Rice-coded: the page's length and
// the term's count there are known by then) and its page entry to buffers
// of its own. Page entries are kept as varints until the end, when the
// number of pages that hold the term, which sets their Rice parameter, is
// known.
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
  std::uint32_t countInPage = 0;
  std::uint32_t slot = 0;  // where its positions go in the page's scratch array
  std::string pages;       // varints, per page: the gap from the page before and the count
  BitBuffer positions;     // per page: the first position, then the gaps less one
};

}  // namespace

struct SearchIndexWriter::State {
  std::string termText;
  std::vector<Term> terms;
  // The hash table: a term's number plus one (0: empty) and its hash's
  // upper half, so most probes that miss never touch the terms.
  struct Slot {
    std::uint32_t term = 0;
    std::uint32_t tag = 0;
  };
  std::vector<Slot> slots = std::vector<Slot>(1024);
  // The terms of the page being added, each with its gap from the page
  // before that held it.
  std::vector<std::uint32_t> touched;
  std::vector<std::uint32_t> ids;      // the page's tokens as terms
  std::vector<std::uint32_t> scratch;  // the page's positions, term by term
  std::string pageTable;
  std::uint32_t pageCount = 0;

  std::string_view TextOf(const Term& term) const {
    return std::string_view(termText).substr(term.textOffset, term.textLength);
  }

  std::uint32_t Find(std::string_view text) {
    const std::uint64_t hash = HashTerm(text);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
      const Slot held = slots[slot];
      if (held.term == 0) {
        slots[slot] = {static_cast<std::uint32_t>(terms.size() + 1), tag};
        terms.emplace_back(static_cast<std::uint32_t>(termText.size()),
                           static_cast<std::uint32_t>(text.size()), hash);
        termText.append(text);
        if (terms.size() * 2 > slots.size()) Grow();
        return static_cast<std::uint32_t>(terms.size() - 1);
      }
      if (held.tag == tag && TextOf(terms[held.term - 1]) == text) return held.term - 1;
    }
  }

  void Grow() {
    std::vector<Slot> wider(slots.size() * 2);
    const std::size_t mask = wider.size() - 1;
    for (std::uint32_t id = 0; id < terms.size(); ++id) {
      std::size_t slot = static_cast<std::size_t>(terms[id].hash) & mask;
      while (wider[slot].term != 0) slot = (slot + 1) & mask;
      wider[slot] = {id + 1, static_cast<std::uint32_t>(terms[id].hash >> 32)};
    }
    slots.swap(wider);
  }

  // One word of page `page`, the one being added.
  void AddWord(std::string_view word, std::uint32_t page) {
    const std::uint32_t id = Find(word);
    ids.push_back(id);
    Term& term = terms[id];
    if (term.lastPage != page) {
      // The first gap counts from one before page 0, so no gap is zero.
      touched.push_back(id);
      touched.push_back(term.lastPage == kNoPage ? page + 1 : page - term.lastPage);
      term.lastPage = page;
      term.countInPage = 0;
      ++term.pageCount;
    }
    ++term.countInPage;
  }

  // The page whose words were added ends: its terms' postings grow.
  void EndPage(std::string_view name) {
    const auto length = static_cast<std::uint32_t>(ids.size());
    // Each term's positions side by side, in the order the terms came.
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < touched.size(); i += 2) {
      Term& term = terms[touched[i]];
      term.slot = next;
      next += term.countInPage;
    }
    scratch.resize(length);
    for (std::uint32_t position = 0; position < length; ++position) {
      scratch[terms[ids[position]].slot++] = position;
    }
    next = 0;
    for (std::size_t i = 0; i < touched.size(); i += 2) {
      Term& term = terms[touched[i]];
      const std::uint32_t gap = touched[i + 1];
      // gap << 1 | 1 when the term stands once, as most do; else gap << 1 and the count
      if (term.countInPage == 1) {
        PutVarint(term.pages, gap << 1 | 1);
      } else {
        PutVarint(term.pages, gap << 1);
        PutVarint(term.pages, term.countInPage);
      }
      const std::uint32_t k = RiceParameter(length, term.countInPage);
      term.positions.PutRice(scratch[next], k);
      for (std::uint32_t j = 1; j < term.countInPage; ++j) {
        term.positions.PutRice(scratch[next + j] - scratch[next + j - 1] - 1, k);
      }
      next += term.countInPage;
    }
    touched.clear();
    PutVarint(pageTable, static_cast<std::uint32_t>(name.size()));
    pageTable.append(name);
    PutVarint(pageTable, length);
  }
};

SearchIndexWriter::SearchIndexWriter() : state_(std::make_unique<State>()) {}
SearchIndexWriter::~SearchIndexWriter() = default;

void SearchIndexWriter::AddPage(std::string_view name, std::string_view text) {
  State& s = *state_;
  const std::uint32_t page = s.pageCount++;
  s.ids.clear();
  ForEachToken(
      text, [&s, page](std::string_view word, std::size_t, std::size_t) { s.AddWord(word, page); });
  s.EndPage(name);
}

void SearchIndexWriter::AddPage(std::string_view name, const PageTerms& terms) {
  State& s = *state_;
  const std::uint32_t page = s.pageCount++;
  s.ids.clear();
  std::size_t at = 0;
  for (const std::uint32_t length : terms.lengths) {
    s.AddWord(std::string_view(terms.text).substr(at, length), page);
    at += length;
  }
  s.EndPage(name);
}

void GatherTerms(std::string_view text, PageTerms& terms) {
  terms.text.clear();
  terms.lengths.clear();
  ForEachToken(text, [&terms](std::string_view word, std::size_t, std::size_t) {
    terms.text.append(word);
    terms.lengths.push_back(static_cast<std::uint32_t>(word.size()));
  });
}

std::string SearchIndexWriter::Finish() {
  State& s = *state_;
  std::vector<std::uint32_t> order(s.terms.size());
  for (std::uint32_t id = 0; id < order.size(); ++id) order[id] = id;
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return s.TextOf(s.terms[a]) < s.TextOf(s.terms[b]);
  });

  // Page entries become Rice codes: the gap less one, then the count in
  // Elias gamma (its width less one in unary, then its bits below the top
  // one), which is a single bit for the count of one most entries have.
  const std::uint32_t pageCount = s.pageCount;
  for (Term& term : s.terms) {
    BitBuffer pages;
    const std::uint32_t k = RiceParameter(pageCount, term.pageCount);
    ByteReader reader(term.pages);
    for (std::uint32_t i = 0; i < term.pageCount; ++i) {
      const std::uint32_t value = reader.Varint();
      const std::uint32_t count = (value & 1) != 0 ? 1 : reader.Varint();
      pages.PutRice((value >> 1) - 1, k);
      std::uint32_t width = 0;
      while (width < 31 && count >> (width + 1) != 0) ++width;
      pages.PutRice(width, 0);
      pages.Put(count, width);
    }
    pages.Flush();
    term.pages = std::move(pages.bytes);
    term.positions.Flush();
  }

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
    PutVarint(dictionary, static_cast<std::uint32_t>(term.positions.bytes.size()));
    postingsSize += term.pages.size() + term.positions.bytes.size();
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
    out.append(term.pages).append(term.positions.bytes);
    std::string().swap(term.pages);
    std::string().swap(term.positions.bytes);
  }
  state_ = std::make_unique<State>();  // ready for another book
  return out;
}

}  // namespace vexmar::book
