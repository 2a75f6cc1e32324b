#pragma once
// The way to show a book when the WebBrowser control cannot: its files go
// into a private folder under the reader's temporary folder and the index
// page opens in the default browser. The folder is removed when the viewer
// closes, and folders left by a viewer that crashed are swept at start.
#include <windows.h>

#include <string>

#include "viewer/entry_index.h"

namespace vexmar::viewer {

class ExtractedBook {
 public:
  ExtractedBook() = default;
  ~ExtractedBook();
  ExtractedBook(const ExtractedBook&) = delete;
  ExtractedBook& operator=(const ExtractedBook&) = delete;

  // Extracts every entry; false (with a reason for the reader) when the
  // folder or the index page could not be written.
  bool Extract(const EntryIndex& entries, const BookEntry& index_page, std::string& problem);
  // Opens a page of the book (extracted with the rest) in the default browser.
  bool OpenPage(HWND owner, const BookEntry& page) const;
  bool extracted() const { return !folder_.empty(); }
  // Removes the folder and everything in it.
  void Remove();

 private:
  std::wstring folder_;  // with a trailing backslash
};

// Removes the folders of viewers that no longer run.
void SweepStaleFolders();

}  // namespace vexmar::viewer
