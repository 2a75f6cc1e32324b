#pragma once
// Finds the settings record and the file entries in the viewer's own image.
#include <windows.h>

#include "viewer/book_check.h"

namespace vexmar::viewer {

// Every entry's data is checked to lie inside the loaded image before it is
// used, since the resource table of a book is not to be trusted.
BookImage LoadBookImage(HMODULE module);

}  // namespace vexmar::viewer
