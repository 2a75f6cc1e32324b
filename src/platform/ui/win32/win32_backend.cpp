#include "platform/ui/win32/win32_backend.h"

namespace vexmar::ui {

std::unique_ptr<Backend> MakeWin32Backend() { return nullptr; }

}  // namespace vexmar::ui
