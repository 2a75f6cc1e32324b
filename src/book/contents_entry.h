#pragma once
// The book's contents (the "VEXMAR"/"CONTENTS" entry): every page in reading
// order with its title, so the viewer lists the book without reading its
// pages. Versioned layout in docs/book-format.md.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace vexmar::book {

struct ContentsPage {
  std::string name;   // as the book stores the page (what /list prints)
  std::string title;  // UTF-8
};

// Far more than 32,767 pages with long names and titles need; a reader
// refuses a larger entry before reading it.
inline constexpr std::size_t kMaxContentsBytes = 16 * 1024 * 1024;
// A title is a line of the contents pane: longer ones are cut (at a
// character) to this many bytes.
inline constexpr std::size_t kMaxContentsTitleBytes = 512;

// Names and titles are written as valid UTF-8 without control characters
// (each such character becomes a blank), so every reader can print a page as
// one line.
std::string WriteContentsEntry(const std::vector<ContentsPage>& pages);
// Reads the entry without trusting a byte of it: a damaged entry, or one of
// a later version, fails with the reason.
Result<std::vector<ContentsPage>> ReadContentsEntry(std::string_view bytes);

}  // namespace vexmar::book
