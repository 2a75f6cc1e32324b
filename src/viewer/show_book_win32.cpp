#include "viewer/show_book_win32.h"

#include <ole2.h>

#include "book/book_format.h"
#include "viewer/book_loader_win32.h"
#include "viewer/book_protocol_win32.h"
#include "viewer/book_window_win32.h"
#include "viewer/browser_host_win32.h"
#include "viewer/desktop_win32.h"
#include "viewer/fallback_win32.h"
#include "viewer/reader_state_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {

const char kViewerTitle[] = "Vexmar E-book Viewer";

namespace {

void ShowMessage(const std::string& text, const std::string& title, UINT icon) {
  ShowMessageBox(nullptr, text, title, icon);
}

// The page the window opens at: the one /page names, else the one the
// reader left, else the index page.
StartPage StartPageFor(const BookImage& book, const BookCheck& check, const Options& options,
                       const ReaderState& state) {
  if (!options.page.empty()) return ResolveStartPage(book.entries, *check.indexPage, options.page);
  StartPage start = ResolveStartPage(book.entries, *check.indexPage, state.page);
  start.anchor.clear();
  start.found = true;
  return start;
}

}  // namespace

int ShowBook(HINSTANCE instance, const BookImage& book, const Options& options, int show) {
  const BookCheck check = CheckBook(book, AnsiToUtf8);
  if (check.status != BookStatus::kReadable) {
    const bool bare = check.status == BookStatus::kBareStub;
    ShowMessage(check.message, kViewerTitle, bare ? MB_ICONINFORMATION : MB_ICONERROR);
    return bare ? kExitNotABook : kExitBadBook;
  }
  SweepStaleFolders();
  // Single-threaded apartment: the control needs OLE for drag and drop and
  // the clipboard.
  const HRESULT ole = OleInitialize(nullptr);
  int exit_code = kExitFailed;
  {
    EntryVerifier verifier(book);
    BookProtocolRegistration protocol(book.entries, &verifier);
    const bool use_browser =
        options.renderer == Renderer::kBrowser || FAILED(ole) || FAILED(protocol.status());
    if (!use_browser) {
      PrepareBrowserFeatures();
    }
    const ReaderContents contents =
        BookContents(book.entries, *check.indexPage,
                     FindOtherEntry(GetModuleHandleW(nullptr), book_format::kVexmarType,
                                    book_format::kContentsName),
                     AnsiToUtf8);
    const std::wstring state_path = ReaderStatePath();
    const ReaderState state = LoadReaderState(state_path);
    const StartPage start = StartPageFor(book, check, options, state);
    BookWindow window(book, check, contents, start, state);
    std::string problem;
    if (window.Create(instance, show, use_browser, problem)) {
      if (!start.found) {
        ShowMessageBox(nullptr,
                       "There is no page \"" + options.page +
                           "\" in this e-book; it opens at its index page instead.",
                       book::DisplayTitle(check.record), MB_ICONINFORMATION);
      }
      exit_code = window.Run();
      // Where the reader was is kept for the next time; a profile that
      // cannot be written only loses that.
      SaveReaderState(state_path, window.state());
    } else {
      ShowMessage(problem, book::DisplayTitle(check.record), MB_ICONERROR);
    }
  }
  RestoreBrowserFeatures();
  if (SUCCEEDED(ole)) {
    OleUninitialize();
  }
  return exit_code;
}

}  // namespace vexmar::viewer
