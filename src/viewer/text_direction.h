#pragma once
// Which way a text reads, so the viewer can show a title in Arabic or Hebrew
// right to left: Windows lays out a caption left to right unless told.
#include <string_view>

namespace vexmar::viewer {

// True when the text's first strong character (a letter, not a digit, a
// space, a mark or a symbol) belongs to a right-to-left script: Hebrew,
// Arabic, Syriac, Thaana, N'Ko and their presentation forms.
bool ReadsRightToLeft(std::string_view utf8);

}  // namespace vexmar::viewer
