// The search entry on a generated book of PAGES pages of about 10 KB of
// mixed-script text (Latin with accents, Greek, Cyrillic, Chinese), the
// same every run: the entry's size as a share of the text, the time to
// build it (and how much of that the tokenizer takes), and typical queries
// as the viewer runs them, from the entry's bytes to the snippets of the
// first ten results. Targets: at most 35% of the text, at most 20 ms a
// query.
//
//   search_bench [PAGES]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "bench/peak_memory.h"
#include "book/search_index.h"
#include "book/search_tokens.h"

namespace {

using vexmar::book::SearchIndex;

class Random {
 public:
  std::uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
  // Ranks drawn so the common ones dominate, as words do in real text.
  std::size_t Zipf(std::size_t n) {
    const double u = static_cast<double>(Next() % 1000000) / 1000000.0;
    return std::min(n - 1, static_cast<std::size_t>(std::pow(static_cast<double>(n), u)) - 1);
  }

 private:
  std::uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// A script's vocabulary: words of letters drawn from its alphabet.
std::vector<std::string> Vocabulary(Random& random, const std::vector<std::uint32_t>& letters,
                                    std::size_t words, std::size_t shortest, std::size_t longest) {
  std::vector<std::string> vocabulary;
  for (std::size_t w = 0; w < words; ++w) {
    std::string word;
    const std::size_t length = shortest + random.Below(longest - shortest + 1);
    for (std::size_t i = 0; i < length; ++i) {
      AppendUtf8(word, letters[random.Zipf(letters.size())]);
    }
    vocabulary.push_back(word);
  }
  return vocabulary;
}

std::vector<std::uint32_t> Range(std::uint32_t first, std::uint32_t last) {
  std::vector<std::uint32_t> letters;
  for (std::uint32_t c = first; c <= last; ++c) letters.push_back(c);
  return letters;
}

struct Book {
  std::vector<std::vector<std::string>> scripts;  // Latin, Greek, Cyrillic, Chinese
  std::vector<std::string> pages;
};

Book Generate(std::size_t pageCount) {
  Random random;
  std::vector<std::uint32_t> latin = Range('a', 'z');
  for (const std::uint32_t accented : {0xE9u, 0xE8u, 0xE0u, 0xFCu, 0xF6u, 0xE7u}) {
    latin.push_back(accented);
  }
  Book book;
  book.scripts.push_back(Vocabulary(random, latin, 30000, 2, 10));
  book.scripts.push_back(Vocabulary(random, Range(0x3B1, 0x3C9), 15000, 2, 10));
  book.scripts.push_back(Vocabulary(random, Range(0x430, 0x44F), 15000, 2, 10));
  book.scripts.push_back(Vocabulary(random, Range(0x4E00, 0x4E00 + 2999), 12000, 1, 3));
  for (std::size_t p = 0; p < pageCount; ++p) {
    std::string page;
    while (page.size() < 10000) {
      const std::size_t script = random.Below(4);
      const std::size_t words = 6 + random.Below(14);
      for (std::size_t w = 0; w < words; ++w) {
        const auto& vocabulary = book.scripts[script];
        page += vocabulary[random.Zipf(vocabulary.size())];
        if (script != 3) page += w + 1 < words ? " " : ". ";  // Chinese runs on
      }
      if (script == 3) page += "\xE3\x80\x82";  // 。
      if (random.Below(6) == 0) page += "\n";
    }
    book.pages.push_back(std::move(page));
  }
  return book;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The time the process has run on a processor: it is single-threaded, and
// on a shared machine the wall clock also counts the others' turns.
double ProcessorSeconds(std::clock_t since) {
  return static_cast<double>(std::clock() - since) / CLOCKS_PER_SEC;
}

double Mib(std::size_t bytes) {
  return static_cast<double>(bytes) / 1048576.0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t pageCount = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
  const Book book = Generate(pageCount);
  std::size_t textBytes = 0;
  for (const std::string& page : book.pages) textBytes += page.size();

  std::clock_t processor = std::clock();
  std::size_t tokens = 0;
  for (const std::string& page : book.pages) tokens += vexmar::book::Tokenize(page).size();
  const double tokenizing = ProcessorSeconds(processor);

  processor = std::clock();
  vexmar::book::SearchIndexWriter writer;
  for (std::size_t p = 0; p < book.pages.size(); ++p) {
    writer.AddPage("PAGE" + std::to_string(p) + ".HTM", book.pages[p]);
  }
  const std::string entry = writer.Finish();
  const double building = ProcessorSeconds(processor);

  std::printf(
      "search index of %zu pages, %.1f MiB of text, %zu tokens: %.1f MiB, %.1f%% of the "
      "text (target at most 35%%)\n",
      pageCount, Mib(textBytes), tokens, Mib(entry.size()),
      100.0 * static_cast<double>(entry.size()) / static_cast<double>(textBytes));
  std::printf(
      "building it: %.3f s of processor time, of which tokenizing %.3f s; the index "
      "itself %.3f s; peak memory %.1f MiB\n",
      building, tokenizing, building - tokenizing,
      static_cast<double>(vexmar::bench::PeakResidentKiB()) / 1024.0);

  // Queries made of words the generator uses often enough to match many
  // pages; the phrase is taken from a page so it certainly matches.
  const auto& latin = book.scripts[0];
  const auto& cyrillic = book.scripts[2];
  const auto& chinese = book.scripts[3];
  const std::string& sample = book.pages[pageCount / 2];
  const std::string phrase = sample.substr(0, sample.find(' ', sample.find(' ') + 1));
  const std::string longChinese = *std::find_if(chinese.begin() + 20, chinese.end(),
                                                [](const std::string& w) { return w.size() == 9; });
  const std::vector<std::pair<const char*, std::string>> queries = {
      {"one word", latin[40]},
      {"two words", latin[12] + " " + cyrillic[7]},
      {"a phrase", "\"" + phrase + "\""},
      {"a prefix", latin[3].substr(0, 2) + "*"},
      {"a Chinese word", longChinese},
      {"a common word", latin[0]},
  };
  for (const auto& [what, text] : queries) {
    double best = 1e9;
    std::size_t found = 0;
    for (int run = 0; run < 10; ++run) {
      const auto start = std::chrono::steady_clock::now();
      const auto index = SearchIndex::Open(entry);
      if (!index) {
        std::fprintf(stderr, "search_bench: %s\n", index.error().reason.c_str());
        return 1;
      }
      const auto query = vexmar::book::ParseQuery(text);
      const auto hits = index->Search(query, 10);
      for (const auto& hit : hits) vexmar::book::MakeSnippet(book.pages[hit.page], query);
      best = std::min(best, Seconds(start));
      found = hits.size();
    }
    std::printf("query, %s (%s): %.2f ms, %zu shown (target at most 20 ms)\n", what, text.c_str(),
                best * 1000.0, found);
  }
  return 0;
}
