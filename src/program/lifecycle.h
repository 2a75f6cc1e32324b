#pragma once
// The main window's life: its start-up when first shown, the Exit command,
// and the end of the program when the window closes.
#include <functional>

#include "help/mod_help.h"
#include "help/skin.h"
#include "workspace/frm_main.h"

namespace vexmar::program {

inline constexpr char kMainCaption[] = "Vexmar E-book Compiler";

// The load reaction: help texts, the flat look, the help icons' picture,
// the table of contents hidden, the skin, the caption. A missing help.txt or
// skin.bmp, or a skin.bmp that is no picture, is no error; the window starts
// all the same, plain, and nothing is said.
void StartUp(workspace::FrmMain& window, help::ModHelp& help, help::Skin& skin);

// Exit asks first; any answer but No closes the main window.
void ExitCommand(workspace::FrmMain& window);

}  // namespace vexmar::program
