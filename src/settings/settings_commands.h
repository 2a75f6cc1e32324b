#pragma once
// Save and Open of the project settings file (the tool-bar buttons cmdSave
// and cmdLoadFile).
#include "workspace/frm_main.h"

namespace vexmar::settings {

void SaveSettings(workspace::FrmMain& window);
void OpenSettings(workspace::FrmMain& window);

}  // namespace vexmar::settings
