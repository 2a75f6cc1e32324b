#include "viewer/show_book_win32.h"

#include <ole2.h>

#include "viewer/book_protocol_win32.h"
#include "viewer/book_window_win32.h"
#include "viewer/browser_host_win32.h"
#include "viewer/desktop_win32.h"
#include "viewer/fallback_win32.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {

const char kViewerTitle[] = "Vexmar E-book Viewer";

namespace {

void ShowMessage(const std::string& text, const std::string& title, UINT icon) {
  ShowMessageBox(nullptr, text, title, icon);
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
    BookWindow window(book, check);
    std::string problem;
    if (window.Create(instance, show, use_browser, problem)) {
      exit_code = window.Run();
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
