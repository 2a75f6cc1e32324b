#pragma once
// Save and Open of the project settings file (the tool-bar buttons cmdSave
// and cmdLoadFile).
#include "workspace/frm_main.h"

namespace vexmar::settings {

// Each returns true when the file was written or read; the window has told
// the author either way, and the command-line compiler needs to know.
bool SaveSettings(workspace::FrmMain& window);
bool OpenSettings(workspace::FrmMain& window);

}  // namespace vexmar::settings
