#pragma once
// The media type the viewer reports for a book file, decided by its
// extension alone: sniffing the content would let a text file that happens
// to start with "<html>" run as a page.
#include <string_view>

namespace vexmar::viewer {

// "application/octet-stream" for extensions it does not know.
std::string_view MimeTypeFor(std::string_view file_name);

}  // namespace vexmar::viewer
