#pragma once
// What check and build share: a settings file opened into the window with
// every file checked.
#include <string>

#include "cli/console_program.h"

namespace vexmar::cli {

// Opens the settings file and checks every file (and every contents page,
// when there is a table of contents); false when the file cannot be opened.
bool OpenProjectWithEveryFile(ConsoleProgram& program, const std::string& settingsFile);

}  // namespace vexmar::cli
