#pragma once
// URLs of the book's private scheme and how they map to file entries.
//
// Pages are addressed as ebook://book/<file name>. The host part makes the
// URL hierarchical, so the browser resolves relative links and images
// against the page they appear in.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/ansi_decoder.h"

namespace vexmar::viewer {

inline constexpr char kBookScheme[] = "ebook";
inline constexpr char kBookUrlPrefix[] = "ebook://book/";

// The URL of a file of the book, percent-encoded (UTF-8) where needed.
std::string BookUrlFor(std::string_view file_name);

// The file path a book URL asks for, without query and fragment, with
// "%XX" decoded (as UTF-8 where the bytes are UTF-8, else as ANSI text) and
// "." and ".." segments resolved; separators become "/". Nothing when the
// URL is not one of the book's or decodes to nothing usable.
std::optional<std::string> BookPathFromUrl(std::string_view url, book::AnsiDecoder decode);

// The entry names to try for a path, best first: the whole path upper-cased
// with "\" between its parts, as the files of sub-folders are stored
// ("images/logo.gif" is IMAGES\LOGO.GIF), then its last segment (books made
// before sub-folders were kept hold bare names only).
std::vector<std::string> EntryCandidates(std::string_view path);

// True when the URL starts with "scheme:" (so it is not relative).
bool HasScheme(std::string_view url);

enum class LinkKind {
  kBook,      // served by the viewer
  kExternal,  // http, https, mailto: handed to the default browser
  kOther,     // about:, javascript: and the like: left to the control
};
LinkKind ClassifyLink(std::string_view url);

// The address the web-link button opens: an address typed without a scheme
// gets "http://", or "mailto:" when it is a bare e-mail address. Empty
// stays empty.
std::string WebLinkTarget(std::string_view address);

}  // namespace vexmar::viewer
