#pragma once
// The modal services on Windows: the system's message boxes, folder browser
// and file dialogs, modal windows and the message pump.
#include <memory>

#include "platform/dialogs/modal_services.h"

namespace vexmar::dialogs {

std::unique_ptr<ModalServices> MakeWin32Services();

// The program's message loop: runs until WM_QUIT and returns its exit code.
int RunMessageLoop();

}  // namespace vexmar::dialogs
