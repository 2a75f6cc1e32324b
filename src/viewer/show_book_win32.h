#pragma once
// The book in a window, or the message that says why it cannot be shown.
#include <windows.h>

#include "viewer/book_check.h"
#include "viewer/command_line.h"

namespace vexmar::viewer {

extern const char kViewerTitle[];

// Returns the exit code.
int ShowBook(HINSTANCE instance, const BookImage& book, const Options& options, int show);

}  // namespace vexmar::viewer
