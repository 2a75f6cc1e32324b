// libFuzzer entry for the book's digest entry: the parser, and the check of
// a book's entries against whatever it accepts. The input is the digest;
// its own lines, read back as file entries, are checked against it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "book/digest_entry.h"
#include "viewer/book_verify.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vexmar;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const book::DigestReading reading = book::ParseDigestEntry(input);
  if (reading.state == book::DigestState::kReadable) {
    // What was read must write back to the very same bytes.
    if (book::WriteDigestEntry(reading.entries) != input) __builtin_trap();
  }
  viewer::BookImage image;
  image.record = input.substr(0, size / 2);
  image.digest = input;
  std::vector<std::string> names;
  for (const book::DigestedEntry& entry : reading.entries) names.push_back(entry.name);
  for (const std::string& name : names) image.entries.Add({name, data, size});
  viewer::EntryVerifier verifier(image);
  for (const viewer::BookEntry& entry : image.entries.entries()) verifier.Intact(entry);
  viewer::VerifyBook(image, {[](const void* bytes, std::string_view, std::string_view) {
                               return std::optional<std::string_view>(
                                   *static_cast<const std::string_view*>(bytes));
                             },
                             &input});
  return 0;
}
