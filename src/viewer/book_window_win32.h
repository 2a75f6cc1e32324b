#pragma once
// The viewer's main window: the tool bar over the contents pane and the
// book's pages, shown in the WebBrowser control or, when that cannot be,
// in the default browser.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "book/search_index.h"
#include "viewer/book_check.h"
#include "viewer/browser_host_win32.h"
#include "viewer/fallback_win32.h"
#include "viewer/reader_book.h"
#include "viewer/reader_pane_win32.h"
#include "viewer/reader_state.h"
#include "viewer/search_worker_win32.h"

namespace vexmar::viewer {

class BookWindow final : public BrowserEvents {
 public:
  // `contents` lists the book's pages; the window opens at `start`, with
  // the place and pane width of `state` when it has them.
  BookWindow(const BookImage& book, const BookCheck& check, const ReaderContents& contents,
             const StartPage& start, const ReaderState& state)
      : book_(book),
        check_(check),
        contents_(contents),
        start_(start),
        state_(state),
        current_(start.entry),
        pane_(contents) {}
  ~BookWindow();
  BookWindow(const BookWindow&) = delete;
  BookWindow& operator=(const BookWindow&) = delete;

  // Creates the window; the book's pages go into the control unless
  // `use_browser` asks for the default browser at once.
  bool Create(HINSTANCE instance, int show, bool use_browser, std::string& problem);
  // Runs the message loop until the window closes; returns the exit code.
  int Run();
  // Where the reader was when the window closed, for the next time.
  const ReaderState& state() const { return state_; }

  // BrowserEvents
  void OnBackForwardChanged(bool back_enabled, bool forward_enabled) override;
  void OnFirstPageComplete() override;
  void OnFirstPageFailed() override;
  void OnPageComplete(const std::wstring& url) override;
  void OnExternalLink(const std::wstring& url) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void CreateControls();
  void MakeFonts();
  void Layout();
  int Scaled(int value) const { return MulDiv(value, dpi_, 96); }
  RECT PageArea() const;
  int PaneRight() const;
  // The bar between pane and page, which the mouse drags.
  bool OnSplitter(int x, int y) const;
  void OnCommand(int id, int code);
  bool HandleKey(const MSG& message);
  // Shows `page` in the control or the default browser, marking `words`.
  void OpenPage(const BookEntry& page, const std::string& anchor = {},
                std::vector<std::wstring> words = {});
  void OpenSelected();
  void Step(int step);
  void PageShown(const BookEntry* page);
  void RunQuery();
  // True once the book's index can be searched; starts building it if not.
  bool IndexReady(std::string& problem);
  void FocusPage();
  void SaveState();
  // Switches to the default browser; false when even that failed.
  bool UseDefaultBrowser();
  void ShowAbout();
  void OpenWebLink();

  const BookImage& book_;
  const BookCheck& check_;
  const ReaderContents& contents_;
  const StartPage start_;
  ReaderState state_;
  const BookEntry* current_;
  ReaderPane pane_;
  HWND window_ = nullptr;
  HWND notice_ = nullptr;  // the text shown while the book is in the browser
  HFONT font_ = nullptr;
  HFONT bold_ = nullptr;
  int dpi_ = 96;
  bool dragging_ = false;     // the splitter between pane and page
  bool listClicked_ = false;  // the list's selection is the mouse's
  BrowserHost browser_;
  ExtractedBook extracted_;
  SearchWorker worker_;
  std::optional<book::SearchIndex> index_;
  std::vector<std::wstring> pendingMarks_;  // for the page the control is loading
  bool inDefaultBrowser_ = false;
  bool fatal_ = false;
};

}  // namespace vexmar::viewer
