#pragma once
// The project settings file: thirteen CR LF-ended lines of ANSI text, one or
// two for each field of the main window, in a fixed order. Stored files rely
// on this layout byte for byte, so it has no header, no version and no
// escaping; list lines join their entries with ":".
#include <string>
#include <string_view>
#include <vector>

#include "workspace/frm_main.h"

namespace vexmar::settings {

// What an empty list is written as, and what a list line starting with it
// means on reading.
inline constexpr std::string_view kBlank = "blank";

// The file's text (UTF-8, before the ANSI code page) for the window's fields.
std::string FormatSettingsFile(workspace::FrmMain& window);

// The text split at every CR LF; a lone CR or LF stays part of its line. An
// empty text has no lines at all.
std::vector<std::string> SplitSettingsLines(std::string_view text);

// A list line split at every ":"; empty pieces count.
std::vector<std::string> SplitListLine(std::string_view line);

// Fills the window from the file's lines, field by field in the file's order;
// a missing or unusable line leaves its field as it was.
void ApplySettingsLines(workspace::FrmMain& window, const std::vector<std::string>& lines);

}  // namespace vexmar::settings
