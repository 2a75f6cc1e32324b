#include "viewer/reader_book.h"

#include <gtest/gtest.h>

#include "book/contents_entry.h"

namespace vexmar::viewer {
namespace {

std::string Identity(std::string_view bytes) {
  return std::string(bytes);
}

// A book's entries over strings that outlive it.
class Book {
 public:
  explicit Book(std::vector<std::pair<std::string, std::string>> files) : files_(std::move(files)) {
    for (const auto& [name, bytes] : files_) {
      entries_.Add({name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    }
  }
  const EntryIndex& entries() const { return entries_; }
  const BookEntry& at(std::string_view name) const { return *entries_.Find(name); }

 private:
  std::vector<std::pair<std::string, std::string>> files_;
  EntryIndex entries_;
};

const Book kBook({{"CHAPTER.HTM", "<title>Second</title><p>Red roses climb the wall.</p>"},
                  {"INDEX.HTM", "<title>Welcome</title><a href=\"CHAPTER.HTM\">on</a>"},
                  {"LOGO.GIF", "GIF89a"},
                  {"NOTES\\WALL.TXT", "a garden wall"}});

std::vector<std::string> Names(const ReaderContents& contents) {
  std::vector<std::string> names;
  for (const ReaderPage& page : contents) names.push_back(page.entry->name);
  return names;
}

TEST(ReaderBook, ContentsComeFromTheEntryWhenItFitsTheBookElseFromThePages) {
  const BookEntry& index = kBook.at("INDEX.HTM");
  const ReaderContents derived = BookContents(kBook.entries(), index, std::nullopt, Identity);
  // The index page first, pictures left out.
  EXPECT_EQ(Names(derived),
            (std::vector<std::string>{"INDEX.HTM", "CHAPTER.HTM", "NOTES\\WALL.TXT"}));
  EXPECT_EQ(derived[0].title, "Welcome");
  EXPECT_EQ(derived[1].title, "Second");

  const std::string stored = book::WriteContentsEntry(
      {{"INDEX.HTM", "Start"}, {"notes\\wall.txt", "The\twall"}, {"CHAPTER.HTM", "Two"}});
  const ReaderContents listed = BookContents(kBook.entries(), index, stored, Identity);
  EXPECT_EQ(Names(listed),
            (std::vector<std::string>{"INDEX.HTM", "NOTES\\WALL.TXT", "CHAPTER.HTM"}));
  EXPECT_EQ(listed[1].title, "The wall");  // one line, whatever the entry says
  EXPECT_EQ(ContentsLine(listed[1]), "NOTES\\WALL.TXT\tThe wall");

  // An entry for other pages, an empty one and a damaged one are not used.
  for (const std::string& unfit :
       {book::WriteContentsEntry({{"INDEX.HTM", "Start"}, {"GONE.HTM", "Gone"}}), std::string(),
        std::string("INDEX.HTM")}) {
    EXPECT_EQ(Names(BookContents(kBook.entries(), index, unfit, Identity)), Names(derived));
  }
}

TEST(ReaderBook, PreviousAndNextFollowTheOrderAndStopAtItsEnds) {
  const ReaderContents contents =
      BookContents(kBook.entries(), kBook.at("INDEX.HTM"), std::nullopt, Identity);
  const BookEntry* first = contents.front().entry;
  const BookEntry* last = contents.back().entry;
  EXPECT_EQ(PageBeside(contents, first, -1), nullptr);
  EXPECT_EQ(PageBeside(contents, first, 1), contents[1].entry);
  EXPECT_EQ(PageBeside(contents, last, -1), contents[1].entry);
  EXPECT_EQ(PageBeside(contents, last, 1), nullptr);
  // A picture opened by a link is not in the order: Next goes on from the start.
  EXPECT_EQ(PageBeside(contents, &kBook.at("LOGO.GIF"), 1), contents[1].entry);
}

TEST(ReaderBook, SearchFindsThePagesTheBookHasWithTitleScoreAndMarkedSnippet) {
  const ReaderContents contents =
      BookContents(kBook.entries(), kBook.at("INDEX.HTM"), std::nullopt, Identity);
  book::SearchIndexWriter writer;
  writer.AddPage("GONE.HTM", "red wall");  // in the index, not in the book
  writer.AddPage("CHAPTER.HTM", "Red roses climb the wall.");
  const std::string entry = writer.Finish();
  const Result<book::SearchIndex> index = book::SearchIndex::Open(entry);
  ASSERT_TRUE(index.ok());
  const std::vector<FoundPage> found =
      SearchBook(index.value(), "roses", kBook.entries(), contents, Identity, 10);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].entry, &kBook.at("CHAPTER.HTM"));
  EXPECT_EQ(found[0].title, "Second");
  const std::string line = SearchLine(found[0]);
  EXPECT_EQ(line.substr(0, line.find('\t')), "CHAPTER.HTM");
  EXPECT_NE(line.find("[roses]"), std::string::npos) << line;
  EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << line;
  EXPECT_TRUE(SearchBook(index.value(), "  ", kBook.entries(), contents, Identity, 10).empty());

  // The index the viewer builds itself finds the same pages.
  const std::string built = BuildSearchEntry(contents, Identity);
  const Result<book::SearchIndex> own = book::SearchIndex::Open(built);
  ASSERT_TRUE(own.ok());
  const auto wall = SearchBook(own.value(), "wall", kBook.entries(), contents, Identity, 10);
  EXPECT_EQ(wall.size(), 2u);
  std::atomic<bool> cancel{true};
  EXPECT_EQ(BuildSearchEntry(contents, Identity, &cancel), "");
}

TEST(ReaderBook, PageSwitchFindsThePageInAnyCaseOrFallsBackToTheIndex) {
  const BookEntry& index = kBook.at("INDEX.HTM");
  const std::tuple<const char*, const char*, const char*, bool> cases[] = {
      // request, entry, anchor, found
      {"chapter.htm", "CHAPTER.HTM", "", true},
      {"Chapter.htm#part-2", "CHAPTER.HTM", "part-2", true},
      {"notes/wall.txt", "NOTES\\WALL.TXT", "", true},
      {"gone.htm#x", "INDEX.HTM", "x", false},
      {"", "INDEX.HTM", "", false},
  };
  for (const auto& [request, entry, anchor, found] : cases) {
    const StartPage start = ResolveStartPage(kBook.entries(), index, request);
    EXPECT_EQ(start.entry->name, entry) << request;
    EXPECT_EQ(start.anchor, anchor) << request;
    EXPECT_EQ(start.found, found) << request;
  }
}

}  // namespace
}  // namespace vexmar::viewer
