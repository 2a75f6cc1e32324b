#pragma once
// Finds the settings record and the file entries in the viewer's own image.
#include <windows.h>

#include <optional>
#include <string_view>

#include "viewer/book_check.h"

namespace vexmar::viewer {

// Every entry's data is checked to lie inside the loaded image before it is
// used, since the resource table of a book is not to be trusted.
BookImage LoadBookImage(HMODULE module);

// An entry by the digest's type and name ("#" and a number, or a name), in
// the book's language; nothing when it is missing or lies outside the image.
std::optional<std::string_view> FindOtherEntry(HMODULE module, std::string_view type,
                                               std::string_view name);

}  // namespace vexmar::viewer
