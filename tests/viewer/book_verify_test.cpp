#include "viewer/book_verify.h"

#include <gtest/gtest.h>

#include <map>

namespace vexmar::viewer {
namespace {

using Lines = std::vector<std::string>;

// A book of two pages and a contents entry of another type, with the digest
// its build would write; each test then damages one thing.
struct Book {
  std::string record = "Garden:A. Reader:index.htm:3/14/2026:::blank:blank:blank";
  std::map<std::string, std::string> files = {{"INDEX.HTM", "<p>home</p>"},
                                              {"CHAPTER 1.HTM", "<p>one</p>"}};
  std::string contents = "contents";
  std::string digest;

  Book() {
    digest =
        book::WriteDigestEntry({{"CUSTOM", "#101", book::Sha256Of(record)},
                                {"#2110", "INDEX.HTM", book::Sha256Of(files["INDEX.HTM"])},
                                {"#2110", "CHAPTER 1.HTM", book::Sha256Of(files["CHAPTER 1.HTM"])},
                                {"VEXMAR", "CONTENTS", book::Sha256Of(contents)}});
  }
  BookImage Image() const {
    BookImage image;
    image.record = record;
    image.digest = digest;
    for (const auto& [name, bytes] : files) {
      image.entries.Add({name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    }
    return image;
  }
  VerifyReport Verify() const {
    return VerifyBook(Image(), {[](const void* self, std::string_view type, std::string_view name) {
                                  if (type != "VEXMAR" || name != "CONTENTS")
                                    return std::optional<std::string_view>();
                                  return std::optional<std::string_view>(
                                      static_cast<const Book*>(self)->contents);
                                },
                                this});
  }
};

TEST(VerifyBook, AWholeBookIsOkAndEveryTamperingIsNamed) {
  Book whole;
  EXPECT_EQ(whole.Verify().lines, Lines{"ok 4 entries"});

  Book byte;
  byte.files["CHAPTER 1.HTM"][3] = 'q';
  EXPECT_EQ(byte.Verify().lines, (Lines{"damaged CHAPTER 1.HTM", "damaged"}));

  Book renamed;
  renamed.files["CHAPTER 2.HTM"] = renamed.files["CHAPTER 1.HTM"];
  renamed.files.erase("CHAPTER 1.HTM");
  EXPECT_EQ(renamed.Verify().lines,
            (Lines{"extra CHAPTER 2.HTM", "missing CHAPTER 1.HTM", "damaged"}));

  Book added;
  added.files["EVIL.HTM"] = "<script>";
  added.record[0] = 'g';
  added.contents += "!";
  EXPECT_EQ(added.Verify().lines,
            (Lines{"extra EVIL.HTM", "damaged CUSTOM #101", "damaged CONTENTS", "damaged"}));

  Book truncated;
  truncated.digest.resize(truncated.digest.size() - 10);
  EXPECT_EQ(truncated.Verify().lines, (Lines{"damaged DIGEST", "damaged"}));

  Book older;
  BookImage image = older.Image();
  image.digest.reset();
  EXPECT_EQ(VerifyBook(image, {}).lines, Lines{"unverified"});
  image.digest = "vexmar-digest 2\n";
  EXPECT_EQ(VerifyBook(image, {}).lines, Lines{"unverified"});
}

TEST(EntryVerifier, StopsOnlyThePagesWhoseBytesDiffer) {
  Book book;
  book.files["CHAPTER 1.HTM"] += " ";
  book.files["NEW.HTM"] = "<p>not in the digest</p>";
  const BookImage image = book.Image();
  EntryVerifier verifier(image);
  EXPECT_FALSE(verifier.Intact(*image.entries.Find("CHAPTER 1.HTM")));
  EXPECT_FALSE(verifier.Intact(*image.entries.Find("chapter 1.htm")));  // remembered
  EXPECT_TRUE(verifier.Intact(*image.entries.Find("INDEX.HTM")));
  EXPECT_TRUE(verifier.Intact(*image.entries.Find("NEW.HTM")));

  Book damagedDigest;
  damagedDigest.files["INDEX.HTM"] = "changed";
  damagedDigest.digest = "garbage";
  const BookImage unreadable = damagedDigest.Image();
  EntryVerifier lenient(unreadable);
  EXPECT_TRUE(lenient.Intact(*unreadable.entries.Find("INDEX.HTM")));
}

}  // namespace
}  // namespace vexmar::viewer
