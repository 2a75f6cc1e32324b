#include "build/background_index.h"

#include <gtest/gtest.h>

namespace vexmar::build {
namespace {

// The index built beside the reading holds the bytes the writer alone
// makes, however the queue fills: a queue smaller than a page, and one that
// never fills.
TEST(BackgroundIndex, GivesTheBytesOfTheWriterFedPageByPage) {
  std::vector<std::string> texts;
  for (int page = 0; page < 300; ++page) {
    std::string text =
        "Page " + std::to_string(page) + " \xCE\xB1\xCE\xB2 \xE6\x97\xA5\xE6\x9C\xAC";
    for (int word = 0; word < page % 37; ++word) text += " w" + std::to_string(word * page % 11);
    texts.push_back(text);
  }
  book::SearchIndexWriter alone;
  for (std::size_t page = 0; page < texts.size(); ++page) {
    alone.AddPage("P" + std::to_string(page), texts[page]);
  }
  const std::string expected = alone.Finish();
  for (const std::size_t queued : {std::size_t{1}, std::size_t{1} << 30}) {
    BackgroundIndex beside(queued);
    for (std::size_t page = 0; page < texts.size(); ++page) {
      beside.AddPage("P" + std::to_string(page), texts[page]);
    }
    EXPECT_EQ(beside.Finish(), expected) << queued;
  }
  BackgroundIndex abandoned;  // a build that fails part way stops its worker
  abandoned.AddPage("P", texts[5]);
}

}  // namespace
}  // namespace vexmar::build
