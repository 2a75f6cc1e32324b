// The e-book image written by the resource engine into a real program file,
// read back with the reader the command-line compiler's inspect uses.
#include "build/ebook_image.h"

#include <gtest/gtest.h>

#include "cli/book_reader.h"
#include "support/temp_folder.h"

namespace vexmar::build {
namespace {

using testing::TempFolder;

std::vector<std::string> Names(const cli::BookContents& book) {
  std::vector<std::string> names;
  for (const auto& file : book.files) names.push_back(file.name);
  return names;
}

TEST(EbookImage, CarriesTheRecordAndEveryFileByteForByteAndARebuildStartsFresh) {
  TempFolder dir;
  const std::string picture("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  dir.Write("Chapter 1.html", "<p>one</p>");
  dir.Write("leaf.png", picture);
  dir.Write("empty.txt", "");
  AssemblyInputs inputs;
  inputs.outputPath = dir.Path() + "book.exe";
  inputs.stubPath = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
  inputs.settings = {"Garden", "A. Reader", "Chapter 1.html", "3/14/2026", "", ""};
  inputs.files = {{"Chapter 1.html", dir.Path() + "Chapter 1.html"},
                  {"leaf.png", dir.Path() + "leaf.png"},
                  {"empty.txt", dir.Path() + "empty.txt"}};

  AssemblyResult result = AssembleEbook(fs::RealFileSystem(), EngineResourceUpdates(), inputs);
  ASSERT_EQ(result.outcome, Outcome::Done) << result.error.reason;
  auto book = cli::ReadBook(inputs.outputPath);
  ASSERT_TRUE(book.ok()) << book.error().reason;
  EXPECT_EQ(book->record.fields[0], "Garden");
  EXPECT_EQ(book->record.fields[4], "");  // empty link fields stay empty
  EXPECT_EQ(book->record.fields[6], "blank");
  EXPECT_EQ(Names(book.value()),
            (std::vector<std::string>{"CHAPTER 1.HTML", "EMPTY.TXT", "LEAF.PNG"}));
  for (const auto& file : book->files) {
    if (file.name == "LEAF.PNG") {
      EXPECT_EQ(file.data, picture);
    }
    if (file.name == "EMPTY.TXT") {
      EXPECT_EQ(file.data, "");  // stored, with no bytes
    }
  }

  // Rebuilt with one file less: the new book does not keep the old entry.
  inputs.files.pop_back();
  inputs.files.pop_back();
  result = AssembleEbook(fs::RealFileSystem(), EngineResourceUpdates(), inputs);
  ASSERT_EQ(result.outcome, Outcome::Done);
  book = cli::ReadBook(inputs.outputPath);
  ASSERT_TRUE(book.ok());
  EXPECT_EQ(Names(book.value()), std::vector<std::string>{"CHAPTER 1.HTML"});
}

TEST(EbookImage, RecordWithEmptyLinkFieldsHasThreeSeparatorsBeforeTheFirstBlank) {
  EXPECT_EQ(
      SettingsRecord({"Garden Notes", "A. Reader", "index.htm", "3/14/2026", "More notes", ""}),
      "Garden Notes:A. Reader:index.htm:3/14/2026:More notes::blank:blank:blank");
  EXPECT_EQ(SettingsRecord({"T", "A", "i.htm", "d", "", ""}), "T:A:i.htm:d:::blank:blank:blank");
}

TEST(EbookImage, StoredNamesAreUpperCasedAfterTheCodePage) {
  EXPECT_EQ(StoredEntryName("Chapter 1.html"), "CHAPTER 1.HTML");
  EXPECT_EQ(StoredEntryName("café.htm"), "CAFÉ.HTM");
  EXPECT_EQ(StoredEntryName("straße.htm"), "STRAßE.HTM");  // as Windows stores it
}

}  // namespace
}  // namespace vexmar::build
