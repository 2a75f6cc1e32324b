// The viewer's side of the search entry. Opening it reads the header, the
// page table and the block table (a few bytes a page); a query then reads
// only the dictionary blocks and postings of its own terms, checking each
// byte as it goes, so a query on a large book takes milliseconds and a
// damaged entry is never read past.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "book/search_index.h"
#include "book/search_layout.h"

namespace vexmar::book {
namespace {

using namespace search_layout;

// BM25's usual constants: how soon more hits stop counting, and how much a
// long page is discounted.
constexpr double kK1 = 1.2;
constexpr double kB = 0.75;
// A prefix stands for at most this many terms, those on most pages: "a*"
// in a large book would otherwise read most of the index for one query.
constexpr std::size_t kMostPrefixTerms = 100;

struct TermEntry {
  std::uint32_t pageCount = 0;
  std::string_view pages;      // per page: gap and count
  std::string_view positions;  // per page: its positions, gap-coded
};

struct PageCount {
  std::uint32_t page;
  std::uint32_t count;
};

struct PageScore {
  std::uint32_t page;
  double score;
};

Error Damaged(const std::string& what) {
  return Fail("the book's search index is damaged: " + what);
}

// The dictionary: term blocks, each found through the block table.
class Dictionary {
 public:
  Dictionary() = default;
  Dictionary(std::string_view blocks, std::string_view terms, std::string_view postings,
             std::uint32_t termCount)
      : blocks_(blocks), terms_(terms), postings_(postings), termCount_(termCount) {}

  std::uint32_t blockCount() const {
    return static_cast<std::uint32_t>(blocks_.size() / kBlockEntrySize);
  }
  std::uint32_t termOffset(std::uint32_t block) const {
    return GetU32(blocks_, block * kBlockEntrySize);
  }
  std::uint32_t postingsOffset(std::uint32_t block) const {
    return GetU32(blocks_, block * kBlockEntrySize + 4);
  }
  std::string_view BlockTerms(std::uint32_t block) const {
    const std::uint32_t end = block + 1 < blockCount() ? termOffset(block + 1)
                                                       : static_cast<std::uint32_t>(terms_.size());
    return terms_.substr(termOffset(block), end - termOffset(block));
  }
  std::string_view BlockPostings(std::uint32_t block) const {
    const std::uint32_t end = block + 1 < blockCount()
                                  ? postingsOffset(block + 1)
                                  : static_cast<std::uint32_t>(postings_.size());
    return postings_.substr(postingsOffset(block), end - postingsOffset(block));
  }
  std::uint32_t BlockTermCount(std::uint32_t block) const {
    return std::min(kTermsPerBlock, termCount_ - block * kTermsPerBlock);
  }
  // The block's first term, written whole; empty when damaged.
  std::string_view FirstTerm(std::uint32_t block) const {
    ByteReader reader(BlockTerms(block));
    if (reader.Varint() != 0) return {};
    const std::string_view term = reader.Bytes(reader.Varint());
    return reader.ok() ? term : std::string_view();
  }
  // The last block whose first term is not after `term`, or blockCount()
  // when `term` comes before every term.
  std::uint32_t BlockFor(std::string_view term) const {
    std::uint32_t low = 0;
    std::uint32_t high = blockCount();
    while (low < high) {
      const std::uint32_t middle = low + (high - low) / 2;
      if (FirstTerm(middle) <= term) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    return low == 0 ? blockCount() : low - 1;
  }

 private:
  std::string_view blocks_;
  std::string_view terms_;
  std::string_view postings_;
  std::uint32_t termCount_ = 0;
};

// Reads a block's terms in order, each checked: front coding within what
// the previous term holds, terms strictly rising, postings inside the
// block's share.
class BlockCursor {
 public:
  BlockCursor(const Dictionary& dictionary, std::uint32_t block)
      : reader_(dictionary.BlockTerms(block)),
        postings_(dictionary.BlockPostings(block)),
        left_(dictionary.BlockTermCount(block)) {}

  bool Next() {
    if (left_ == 0 || damaged_) return false;
    --left_;
    const std::uint32_t shared = reader_.Varint();
    const std::string_view suffix = reader_.Bytes(reader_.Varint());
    const bool first = !started_;
    started_ = true;
    if (first ? shared != 0
              : shared > term_.size() || suffix <= std::string_view(term_).substr(shared)) {
      return Stop();
    }
    term_.resize(shared);
    term_.append(suffix);
    entry_.pageCount = reader_.Varint();
    const std::uint32_t pagesLength = reader_.Varint();
    const std::uint32_t positionsLength = reader_.Varint();
    if (!reader_.ok() || entry_.pageCount == 0 ||
        entry_.pageCount > std::uint64_t{pagesLength} * 4 || positionsLength == 0 ||
        pagesLength > postings_.size() - used_ ||
        positionsLength > postings_.size() - used_ - pagesLength) {
      return Stop();
    }
    entry_.pages = postings_.substr(used_, pagesLength);
    entry_.positions = postings_.substr(used_ + pagesLength, positionsLength);
    used_ += pagesLength + positionsLength;
    if (left_ == 0 && (!reader_.atEnd() || used_ != postings_.size())) return Stop();
    return true;
  }
  const std::string& term() const { return term_; }
  const TermEntry& entry() const { return entry_; }

 private:
  bool Stop() {
    damaged_ = true;
    return false;
  }

  ByteReader reader_;
  std::string_view postings_;
  std::uint32_t left_;
  std::size_t used_ = 0;
  bool started_ = false;
  bool damaged_ = false;
  std::string term_;
  TermEntry entry_;
};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

struct SearchIndex::Data {
  Dictionary dictionary;
  std::vector<std::string_view> names;
  std::vector<std::uint32_t> lengths;  // each page's tokens
  double averageLength = 1;

  bool Find(std::string_view term, TermEntry& found) const {
    const std::uint32_t block = dictionary.BlockFor(term);
    if (block == dictionary.blockCount()) return false;
    BlockCursor cursor(dictionary, block);
    while (cursor.Next()) {
      if (cursor.term() == term) {
        found = cursor.entry();
        return true;
      }
      if (cursor.term() > term) return false;
    }
    return false;
  }

  // The terms that start with `prefix`, at most kMostPrefixTerms of them:
  // those on most pages.
  std::vector<TermEntry> Expand(std::string_view prefix) const {
    std::vector<TermEntry> found;
    std::uint32_t block = dictionary.BlockFor(prefix);
    if (block == dictionary.blockCount()) block = 0;
    for (bool past = false; block < dictionary.blockCount() && !past; ++block) {
      BlockCursor cursor(dictionary, block);
      while (cursor.Next()) {
        if (StartsWith(cursor.term(), prefix)) {
          found.push_back(cursor.entry());
        } else if (cursor.term() > prefix) {
          past = true;
          break;
        }
      }
    }
    if (found.size() > kMostPrefixTerms) {
      std::nth_element(
          found.begin(), found.begin() + kMostPrefixTerms, found.end(),
          [](const TermEntry& a, const TermEntry& b) { return a.pageCount > b.pageCount; });
      found.resize(kMostPrefixTerms);
    }
    return found;
  }

  // A term's pages in order with how often it stands on each; false, and
  // nothing, when the entry does not hold together.
  bool ReadPages(const TermEntry& entry, std::vector<PageCount>& out) const {
    out.clear();
    out.reserve(entry.pageCount);  // no more than four a byte (checked)
    BitReader reader(entry.pages);
    const std::uint32_t k = RiceParameter(names.size(), entry.pageCount);
    std::uint64_t page = 0;
    for (std::uint32_t i = 0; i < entry.pageCount && reader.ok(); ++i) {
      page += reader.Rice(k) + (i == 0 ? 0 : 1);
      const std::uint32_t width = reader.Rice(0);
      if (width > 31 || page >= names.size()) return Failed(out);
      const auto number = static_cast<std::uint32_t>(page);
      const std::uint32_t count = 1u << width | reader.Bits(width);
      if (count > lengths[number]) return Failed(out);
      out.push_back({number, count});
    }
    return reader.atEnd() || Failed(out);
  }

  // The positions of the pages in `wanted` (which are among those
  // ReadPages gave, in order), one page after another; `starts` gets where
  // each page's begin, and the end. The pages between are read and checked,
  // not kept; the list is read no further than the last page wanted.
  bool ReadPositions(const TermEntry& entry, const std::vector<PageCount>& pages,
                     const std::vector<std::uint32_t>& wanted, std::vector<std::uint32_t>& out,
                     std::vector<std::size_t>& starts) const {
    out.clear();
    starts.clear();
    BitReader reader(entry.positions);
    std::size_t next = 0;  // in `wanted`
    std::size_t i = 0;
    for (; i < pages.size() && next < wanted.size(); ++i) {
      const PageCount& page = pages[i];
      const bool keep = page.page == wanted[next];
      if (keep) starts.push_back(out.size());
      const std::uint32_t k = RiceParameter(lengths[page.page], page.count);
      std::uint64_t position = 0;
      for (std::uint32_t j = 0; j < page.count; ++j) {
        position += reader.Rice(k) + (j == 0 ? 0 : 1);
        if (!reader.ok() || position >= lengths[page.page]) return false;
        if (keep) out.push_back(static_cast<std::uint32_t>(position));
      }
      next += keep;
    }
    starts.push_back(out.size());
    return next == wanted.size() && (i < pages.size() || reader.atEnd());
  }

  static bool Failed(std::vector<PageCount>& out) {
    out.clear();
    return false;
  }

  double Idf(std::size_t pagesWith) const {
    const double n = static_cast<double>(names.size());
    const double df = static_cast<double>(pagesWith);
    return std::log(1.0 + (n - df + 0.5) / (df + 0.5));
  }

  double Bm25(double idf, std::uint32_t count, std::uint32_t page) const {
    const double tf = count;
    const double norm = kK1 * (1.0 - kB + kB * lengths[page] / averageLength);
    return idf * tf * (kK1 + 1.0) / (tf + norm);
  }

  std::vector<PageScore> Score(const std::vector<PageCount>& hits) const {
    std::vector<PageScore> scores;
    scores.reserve(hits.size());
    const double idf = Idf(hits.size());
    for (const PageCount& hit : hits) scores.push_back({hit.page, Bm25(idf, hit.count, hit.page)});
    return scores;
  }

  // Where the words stand side by side, and how often, on each page. The
  // pages that hold every word are found first, from the page lists alone;
  // positions are kept for those pages only.
  std::vector<PageScore> ScorePhrase(const std::vector<std::string>& words) const {
    const std::size_t n = words.size();
    std::vector<TermEntry> entries(n);
    std::vector<std::vector<PageCount>> pages(n);
    for (std::size_t w = 0; w < n; ++w) {
      if (!Find(words[w], entries[w]) || !ReadPages(entries[w], pages[w])) return {};
    }
    if (n == 1) return Score(pages[0]);
    std::vector<std::uint32_t> candidates;
    std::vector<std::size_t> cursor(n, 0);
    for (const PageCount& page : pages[0]) {
      bool everyWord = true;
      for (std::size_t w = 1; w < n && everyWord; ++w) {
        while (cursor[w] < pages[w].size() && pages[w][cursor[w]].page < page.page) ++cursor[w];
        everyWord = cursor[w] < pages[w].size() && pages[w][cursor[w]].page == page.page;
      }
      if (everyWord) candidates.push_back(page.page);
    }
    std::vector<std::vector<std::uint32_t>> positions(n);
    std::vector<std::vector<std::size_t>> starts(n);
    for (std::size_t w = 0; w < n && !candidates.empty(); ++w) {
      if (!ReadPositions(entries[w], pages[w], candidates, positions[w], starts[w])) return {};
    }
    std::vector<PageCount> matches;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
      std::uint32_t count = 0;
      for (std::size_t p = starts[0][c]; p < starts[0][c + 1]; ++p) {
        bool side = true;
        for (std::size_t w = 1; w < n && side; ++w) {
          const auto begin = positions[w].begin();
          side = std::binary_search(begin + static_cast<std::ptrdiff_t>(starts[w][c]),
                                    begin + static_cast<std::ptrdiff_t>(starts[w][c + 1]),
                                    std::uint64_t{positions[0][p]} + w);
        }
        count += side;
      }
      if (count > 0) matches.push_back({candidates[c], count});
    }
    return Score(matches);
  }

  // Every term the prefix stands for counts, each with its own weight.
  std::vector<PageScore> ScorePrefix(std::string_view prefix) const {
    std::vector<double> sums(names.size(), 0.0);
    std::vector<std::uint32_t> touched;
    std::vector<PageCount> pages;
    for (const TermEntry& entry : Expand(prefix)) {
      if (!ReadPages(entry, pages)) continue;
      for (const PageScore& hit : Score(pages)) {
        if (sums[hit.page] == 0.0) touched.push_back(hit.page);
        sums[hit.page] += hit.score;
      }
    }
    std::sort(touched.begin(), touched.end());
    std::vector<PageScore> scores;
    scores.reserve(touched.size());
    for (const std::uint32_t page : touched) scores.push_back({page, sums[page]});
    return scores;
  }
};

Result<std::uint32_t> SearchIndexPages(std::string_view header, std::size_t entrySize) {
  static_assert(kSearchIndexHeaderBytes == kHeaderSize, "the header's size is the layout's");
  if (header.size() < kHeaderSize || header.substr(0, kMagic.size()) != kMagic) {
    return Damaged("it does not start with its header");
  }
  const std::uint32_t version = GetU32(header, 8);
  if (version != kVersion) {
    return Fail("the book's search index is of version " + std::to_string(version) +
                ", which this viewer does not read");
  }
  if (GetU32(header, 36) != entrySize) {
    return Damaged("it holds " + std::to_string(entrySize) + " bytes of " +
                   std::to_string(GetU32(header, 36)));
  }
  return GetU32(header, 12);
}

Result<SearchIndex> SearchIndex::Open(std::string_view bytes) {
  if (bytes.size() < kHeaderSize || bytes.substr(0, kMagic.size()) != kMagic) {
    return Damaged("it does not start with its header");
  }
  const std::uint32_t version = GetU32(bytes, 8);
  if (version != kVersion) {
    return Fail("the book's search index is of version " + std::to_string(version) +
                ", which this viewer does not read");
  }
  const std::uint32_t pageCount = GetU32(bytes, 12);
  const std::uint32_t termCount = GetU32(bytes, 16);
  const std::uint32_t pagesAt = GetU32(bytes, 20);
  const std::uint32_t blocksAt = GetU32(bytes, 24);
  const std::uint32_t termsAt = GetU32(bytes, 28);
  const std::uint32_t postingsAt = GetU32(bytes, 32);
  const std::uint32_t size = GetU32(bytes, 36);
  if (size != bytes.size()) {
    return Damaged("it holds " + std::to_string(bytes.size()) + " bytes of " +
                   std::to_string(size));
  }
  if (pagesAt != kHeaderSize || blocksAt < pagesAt || termsAt < blocksAt || postingsAt < termsAt ||
      size < postingsAt) {
    return Damaged("its parts are out of place");
  }
  const std::uint64_t blockCount = (std::uint64_t{termCount} + kTermsPerBlock - 1) / kTermsPerBlock;
  if (termsAt - blocksAt != blockCount * kBlockEntrySize ||
      (termCount == 0) != (postingsAt == termsAt) || (termCount == 0) != (size == postingsAt)) {
    return Damaged("its term count does not match its parts");
  }

  auto data = std::make_unique<Data>();
  const std::string_view pageTable = bytes.substr(pagesAt, blocksAt - pagesAt);
  if (pageCount > pageTable.size() / 2) return Damaged("its page table is cut short");
  data->names.reserve(pageCount);
  data->lengths.reserve(pageCount);
  ByteReader reader(pageTable);
  std::uint64_t totalLength = 0;
  for (std::uint32_t page = 0; page < pageCount; ++page) {
    data->names.push_back(reader.Bytes(reader.Varint()));
    data->lengths.push_back(reader.Varint());
    totalLength += data->lengths.back();
  }
  if (!reader.ok() || !reader.atEnd()) return Damaged("its page table does not hold together");
  if (pageCount > 0 && totalLength > 0) {
    data->averageLength = static_cast<double>(totalLength) / pageCount;
  }

  data->dictionary =
      Dictionary(bytes.substr(blocksAt, termsAt - blocksAt),
                 bytes.substr(termsAt, postingsAt - termsAt), bytes.substr(postingsAt), termCount);
  const Dictionary& dictionary = data->dictionary;
  for (std::uint32_t block = 0; block < dictionary.blockCount(); ++block) {
    const bool first = block == 0;
    const bool inside = dictionary.termOffset(block) < postingsAt - termsAt &&
                        dictionary.postingsOffset(block) < size - postingsAt;
    const bool rising =
        first ? dictionary.termOffset(0) == 0 && dictionary.postingsOffset(0) == 0
              : dictionary.termOffset(block) > dictionary.termOffset(block - 1) &&
                    dictionary.postingsOffset(block) > dictionary.postingsOffset(block - 1);
    if (!inside || !rising) return Damaged("its block table points outside its terms");
  }
  SearchIndex index;
  index.data_ = std::move(data);
  return index;
}

SearchIndex::SearchIndex() = default;
SearchIndex::SearchIndex(SearchIndex&&) noexcept = default;
SearchIndex& SearchIndex::operator=(SearchIndex&&) noexcept = default;
SearchIndex::~SearchIndex() = default;

std::size_t SearchIndex::pageCount() const {
  return data_ ? data_->names.size() : 0;
}

std::string_view SearchIndex::pageName(std::uint32_t page) const {
  return data_ && page < data_->names.size() ? data_->names[page] : std::string_view();
}

std::vector<SearchHit> SearchIndex::Search(const SearchQuery& query, std::size_t limit) const {
  if (!data_ || query.empty() || limit == 0) return {};
  std::vector<std::vector<PageScore>> parts;
  for (const auto& phrase : query.phrases) {
    if (!phrase.empty()) parts.push_back(data_->ScorePhrase(phrase));
  }
  for (const std::string& prefix : query.prefixes) {
    if (!prefix.empty()) parts.push_back(data_->ScorePrefix(prefix));
  }
  if (parts.empty()) return {};
  // Every part must match: the fewest pages first, the others merged in.
  std::sort(parts.begin(), parts.end(),
            [](const auto& a, const auto& b) { return a.size() < b.size(); });
  std::vector<PageScore> pages = std::move(parts[0]);
  for (std::size_t p = 1; p < parts.size(); ++p) {
    std::size_t kept = 0;
    std::size_t other = 0;
    for (const PageScore& page : pages) {
      while (other < parts[p].size() && parts[p][other].page < page.page) ++other;
      if (other < parts[p].size() && parts[p][other].page == page.page) {
        pages[kept++] = {page.page, page.score + parts[p][other].score};
      }
    }
    pages.resize(kept);
  }
  const auto better = [](const PageScore& a, const PageScore& b) {
    return a.score != b.score ? a.score > b.score : a.page < b.page;
  };
  const std::size_t shown = std::min(limit, pages.size());
  std::partial_sort(pages.begin(), pages.begin() + static_cast<std::ptrdiff_t>(shown), pages.end(),
                    better);
  std::vector<SearchHit> hits;
  hits.reserve(shown);
  for (std::size_t i = 0; i < shown; ++i) hits.push_back({pages[i].page, pages[i].score});
  return hits;
}

}  // namespace vexmar::book
