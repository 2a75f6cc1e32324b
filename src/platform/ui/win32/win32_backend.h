#pragma once
// The control layer on real windows: every peer wraps an HWND, and the HWND
// holds the truth (no mirrored copy of a control's state to keep in sync).
#include <memory>

#include "platform/ui/peers.h"

namespace vexmar::ui {

std::unique_ptr<Backend> MakeWin32Backend();

}  // namespace vexmar::ui
