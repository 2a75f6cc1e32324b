#pragma once
// "%XX" escapes in a link, decoded the one way the viewer serves them and
// the link check predicts them.
#include <optional>
#include <string>
#include <string_view>

#include "book/ansi_decoder.h"

namespace vexmar::book {

// Decodes every run of escapes on its own: a browser escapes a link's
// non-ASCII characters as UTF-8, but an old ANSI page may carry hand-written
// escapes of its code page, and one URL can hold both kinds. Nothing when an
// escape asks for a NUL, which no entry name holds.
std::optional<std::string> PercentDecode(std::string_view text, AnsiDecoder decode);

}  // namespace vexmar::book
