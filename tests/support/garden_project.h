#pragma once
// One project state, filled into a main window the same way on every
// backend, and the settings file it must save as byte for byte: what the
// native suites and the Windows suites both hold the program to.
#include <string>

#include "workspace/frm_main.h"

namespace vexmar::testing {

// `folder` ends with the platform's separator.
void FillGardenProject(workspace::FrmMain& window, const std::string& folder);
std::string GardenSettingsFile(const std::string& folder);

}  // namespace vexmar::testing
