#pragma once
#include "workspace/frm_main.h"

namespace vexmar::settings {

// Empties the project: every text box, every list, every check box (whose
// click reaction runs when it was checked), and the project folder. It asks
// nothing; whatever the window held is gone.
void NewProject(workspace::FrmMain& window);

}  // namespace vexmar::settings
