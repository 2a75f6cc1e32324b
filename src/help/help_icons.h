#pragma once
// The help icons beside the main window's rows: a press gives the icon a
// pressed look; the release, wherever the pointer is then, opens its help.
#include "help/mod_help.h"
#include "workspace/frm_main.h"

namespace vexmar::help {

void AttachHelpIcons(workspace::FrmMain& window, ModHelp& help);

}  // namespace vexmar::help
