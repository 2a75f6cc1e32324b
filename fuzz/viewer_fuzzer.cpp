// libFuzzer entry for the viewer's parsers of untrusted bytes: the settings
// record, book URLs and entry names. The input is split at its first zero
// byte: the record before it, a URL and entry names (one a line) after it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "book/entry_name.h"
#include "viewer/book_check.h"
#include "viewer/latin1_decoder.h"
#include "viewer/mime_types.h"
#include "viewer/url_mapping.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vexmar::viewer;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view record = input.substr(0, split);
  const std::string_view rest = split == std::string_view::npos ? "" : input.substr(split + 1);

  BookImage image;
  image.record = record;
  std::vector<std::string> names;
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find('\n', start);
    end = end == std::string_view::npos ? rest.size() : end;
    names.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }
  for (const std::string& name : names) {
    image.entries.Add({name, data, size});
    vexmar::book::UnsafeNameReason(name);
    MimeTypeFor(name);
  }
  vexmar::book::PlanExtraction(names);
  CheckBook(image, testing::Latin1ToUtf8);
  const std::string url = std::string(kBookUrlPrefix) + std::string(rest);
  if (const auto path = BookPathFromUrl(url, testing::Latin1ToUtf8)) {
    image.entries.FindForPath(*path);
  }
  BookPathFromUrl(rest, testing::Latin1ToUtf8);
  WebLinkTarget(rest);
  HasScheme(rest);
  BookUrlFor(record);
  return 0;
}
