#pragma once
// The main window's life: its start-up when first shown, the Exit command,
// and the end of the program when the window closes.
#include <functional>

#include "help/mod_help.h"
#include "workspace/frm_main.h"

namespace vexmar::settings {

inline constexpr char kMainCaption[] = "Vexmar E-book Compiler";

// The load reaction: help texts, the flat look, the help icons' picture,
// the table of contents hidden, the caption. A missing help.txt is no
// error; the window starts all the same.
void StartUp(workspace::FrmMain& window, help::ModHelp& help);

// Exit asks first; any answer but No closes the main window.
void ExitCommand(workspace::FrmMain& window);

}  // namespace vexmar::settings
