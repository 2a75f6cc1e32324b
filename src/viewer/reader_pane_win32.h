#pragma once
// The pane at the left of the book's window: a search box over a list that
// shows the book's pages in reading order, or the results while a query is
// in the box. The window decides what choosing an item does.
#include <windows.h>

#include <string>
#include <vector>

#include "viewer/reader_book.h"

namespace vexmar::viewer {

class ReaderPane {
 public:
  // Control ids: the window's WM_COMMAND and WM_DRAWITEM name them.
  static constexpr int kSearchLabelId = 201;
  static constexpr int kSearchBoxId = 202;
  static constexpr int kListId = 203;

  explicit ReaderPane(const ReaderContents& contents) : contents_(contents) {}
  void Create(HWND parent, HFONT font, HFONT bold);
  void SetFonts(HFONT font, HFONT bold, int dpi);
  void Move(const RECT& area, int dpi);

  // The list shows the contents, the current page marked and selected.
  void ShowContents(const BookEntry* current);
  // The list shows `results`, or `notice` as its one item when there are none.
  void ShowResults(std::vector<FoundPage> results, const std::string& notice);
  bool showingResults() const { return showingResults_; }
  // The page the selected item names; nothing when none is selected.
  const BookEntry* SelectedPage() const;
  // The result the selected item is, when the list shows results.
  const FoundPage* SelectedResult() const;

  std::string Query() const;
  void ClearQuery();
  HWND searchBox() const { return search_; }
  HWND list() const { return list_; }
  bool Owns(HWND control) const {
    return control == search_ || control == list_ || control == label_;
  }
  void Draw(const DRAWITEMSTRUCT& item) const;

 private:
  void Refill(size_t count, WPARAM selected);

  const ReaderContents& contents_;
  HWND label_ = nullptr;
  HWND search_ = nullptr;
  HWND list_ = nullptr;
  HFONT font_ = nullptr;
  HFONT bold_ = nullptr;
  int lineHeight_ = 16;
  bool showingResults_ = false;
  const BookEntry* current_ = nullptr;
  std::vector<FoundPage> results_;
  std::string notice_;
};

}  // namespace vexmar::viewer
