#pragma once
// The book's contents (the "VEXMAR"/"CONTENTS" entry): every page in reading
// order with its title, so the viewer lists the book without reading its
// pages. Versioned layout in docs/book-format.md.
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace vexmar::book {

struct ContentsPage {
  std::string name;   // as the book stores the page (what /list prints)
  std::string title;  // UTF-8
};

std::string WriteContentsEntry(const std::vector<ContentsPage>& pages);
// Reads the entry without trusting a byte of it.
Result<std::vector<ContentsPage>> ReadContentsEntry(std::string_view bytes);

}  // namespace vexmar::book
