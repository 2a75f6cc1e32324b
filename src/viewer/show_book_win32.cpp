#include "viewer/show_book_win32.h"

#include "viewer/win32_text.h"

namespace vexmar::viewer {

const char kViewerTitle[] = "Vexmar E-book Viewer";

int ShowBook(HINSTANCE, const BookImage& book, const Options&, int) {
  const BookCheck check = CheckBook(book, AnsiToUtf8);
  if (check.status != BookStatus::kReadable) {
    const bool bare = check.status == BookStatus::kBareStub;
    MessageBoxW(nullptr, Widen(check.message).c_str(), Widen(kViewerTitle).c_str(),
                bare ? MB_ICONINFORMATION : MB_ICONERROR);
    return bare ? kExitNotABook : kExitBadBook;
  }
  return kExitOk;
}

}  // namespace vexmar::viewer
