// What the search's index costs a build before it stores anything: reading
// the text of 10,000 generated web pages of 10 KB and cutting it into
// words. Mixed-script pages (Latin with accents and capitals, Greek,
// Cyrillic, Japanese) are the hard case; English pages the common one.
// Prints the best of three runs of each step, in MB/s of the pages' bytes.
//
//   page_words_bench [PAGES]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "book/page_text.h"
#include "book/search_tokens.h"

namespace {

// clang-format off
const std::vector<std::string> kMixedWords = {
    "garden", "Seeds", "water", "light", "r\xC3\xA9sum\xC3\xA9", "Stra\xC3\x9F" "e",
    "na\xC3\xAFve", "\xC3\x89t\xC3\xA9", "bloom", "harvest", "don't", "1999",
    "\xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1", "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82",
    "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "\xD1\x81\xD0\xB0\xD0\xB4",
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0",
    "\xE3\x83\xA9\xE3\x83\xBC\xE3\x83\xA1\xE3\x83\xB3", "&amp;", "caf&eacute;"};
const std::vector<std::string> kEnglishWords = {
    "The", "garden", "seeds", "water", "and", "light", "of", "a", "bloom", "harvest",
    "don't", "1999", "in", "Spring", "roots", "soil", "&amp;", "leaves", "grow", "is"};
// clang-format on

std::vector<std::string> MakePages(int count, const std::vector<std::string>& words) {
  std::vector<std::string> pages;
  unsigned seed = 7;
  for (int n = 0; n < count; ++n) {
    std::string page = "<html><head><meta charset=\"utf-8\"><title>Page " + std::to_string(n) +
                       "</title><style>p { margin: 0 }</style></head><body><h1>Chapter</h1>\n";
    while (page.size() < 10240) {
      page += "<p>";
      for (int k = 0; k < 40; ++k) {
        seed = seed * 1103515245 + 12345;
        page += words[(seed >> 16) % words.size()];
        page += k % 9 == 8 ? ". " : " ";
      }
      page += "<a href=\"next.htm\">next</a></p>\n";
    }
    pages.push_back(std::move(page));
  }
  return pages;
}

template <typename Step>
double BestSeconds(Step step) {
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    const auto start = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

void Measure(const char* kind, int count, const std::vector<std::string>& words) {
  const std::vector<std::string> pages = MakePages(count, words);
  double bytes = 0;
  for (const std::string& page : pages) bytes += static_cast<double>(page.size());
  std::vector<std::string> texts(pages.size());
  const double reading = BestSeconds([&] {
    for (std::size_t n = 0; n < pages.size(); ++n) {
      texts[n] = vexmar::book::ReadPageText(pages[n], true, nullptr).text;
    }
  });
  std::size_t found = 0;
  const double cutting = BestSeconds([&] {
    found = 0;
    for (const std::string& text : texts) found += vexmar::book::Tokenize(text).size();
  });
  const double megabytes = bytes / 1e6;
  std::printf("%s: %d pages, %.1f MB, %zu words\n", kind, count, megabytes, found);
  std::printf("  page text: %.3f s (%.0f MB/s)\n", reading, megabytes / reading);
  std::printf("  words:     %.3f s (%.0f MB/s)\n", cutting, megabytes / cutting);
  std::printf("  together:  %.3f s\n", reading + cutting);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  Measure("mixed scripts", count, kMixedWords);
  Measure("English", count, kEnglishWords);
  return 0;
}
