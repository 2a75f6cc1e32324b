#pragma once
// The switches that look inside a book without a window (command_line.h).
#include "viewer/book_check.h"
#include "viewer/command_line.h"

namespace vexmar::viewer {

// Runs /list, /settings, /extract, /fetch or /verify; returns the exit code.
int RunSwitch(const Options& options, const BookImage& book);

}  // namespace vexmar::viewer
