#pragma once
// Where a reader left a book: the page, the pane's width and the window's
// place, kept in a small text file per book in the reader's own settings
// folder (never beside the book, which may be read-only or shared). The file
// is the reader's, but anything may have written it: it is read with bounds,
// and a file that is not wholly ours is ignored.
#include <cstddef>
#include <string>
#include <string_view>

namespace vexmar::viewer {

struct ReaderState {
  std::string page;   // the entry's name, as /list prints it
  int paneWidth = 0;  // at 96 DPI; 0 when not known
  bool hasPlace = false;
  int left = 0, top = 0, right = 0, bottom = 0;  // the restored window, in screen pixels
  bool maximized = false;
};

// Larger files are not ours.
inline constexpr std::size_t kMaxReaderStateBytes = 4096;

std::string WriteReaderState(const ReaderState& state);
// An empty state for a file that is damaged, foreign or too large.
ReaderState ReadReaderState(std::string_view bytes);
// The file's name for the book at `bookPath` (its full path, UTF-8): the
// same book in the same place finds its file again, in any letter case.
std::string ReaderStateFileName(std::string_view bookPath);

}  // namespace vexmar::viewer
