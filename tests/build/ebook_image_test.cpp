// The e-book image written by the resource engine into a real program file,
// read back with the reader the command-line compiler's inspect uses.
#include "build/ebook_image.h"

#include <gtest/gtest.h>

#include <map>

#include "cli/book_reader.h"
#include "support/temp_folder.h"

namespace vexmar::build {
namespace {

// The stored files by name; each name is stored upper-cased after the code page.
std::map<std::string, std::string> Build(const AssemblyInputs& inputs, book::BookRecord* record) {
  const AssemblyResult result =
      AssembleEbook(fs::RealFileSystem(), EngineResourceUpdates(), inputs);
  EXPECT_EQ(result.outcome, Outcome::Done) << result.error.reason;
  auto book = cli::BookReader::Open(inputs.outputPath);
  EXPECT_TRUE(book.ok()) << book.error().reason;
  std::map<std::string, std::string> files;
  if (!book.ok()) return files;
  const Status read = book->ForEachFile([&](const cli::BookFile& file) {
    const auto content = book->Content(file);
    std::string& bytes = files[file.name];  // an empty file is listed too
    for (auto piece = content->Next(); piece.ok(); piece = content->Next()) {
      if (piece.value().empty()) return Status{};
      bytes += piece.value();
    }
    return Status{Fail(file.name + " could not be read")};
  });
  EXPECT_TRUE(read.ok());
  *record = book->record();
  return files;
}

TEST(EbookImage, CarriesTheRecordAndEveryFileByteForByteAndARebuildStartsFresh) {
  testing::TempFolder dir;
  const std::string picture("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  std::string large(600 * 1000, '\0');  // read back in several pieces
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 / 3);
  AssemblyInputs inputs;
  inputs.outputPath = dir.Path() + "book.exe";
  inputs.stubPath = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
  inputs.settings = {"Garden", "A. Reader", "Chapter 1.html", "3/14/2026", "", ""};
  inputs.files = {{"Chapter 1.html", dir.Write("Chapter 1.html", "<p>one</p>")},
                  {"straße.png", dir.Write("leaf.png", picture)},
                  {"empty.txt", dir.Write("empty.txt", "")},
                  {"large.bin", dir.Write("large.bin", large)}};
  book::BookRecord record;
  EXPECT_EQ(Build(inputs, &record),
            (std::map<std::string, std::string>{{"CHAPTER 1.HTML", "<p>one</p>"},
                                                {"EMPTY.TXT", ""},  // stored, with no bytes
                                                {"LARGE.BIN", large},
                                                {"STRAßE.PNG", picture}}));  // as Windows has it
  EXPECT_EQ(record.fields[0], "Garden");
  EXPECT_EQ(record.fields[4], "");  // empty link fields stay empty
  EXPECT_EQ(record.fields[6], "blank");

  // Rebuilt with one file: the new book does not keep the old entries.
  inputs.files.resize(1);
  EXPECT_EQ(Build(inputs, &record).size(), 1u);
}

}  // namespace
}  // namespace vexmar::build
