#include <windows.h>

#include "platform/dialogs/console/console_services.h"

namespace vexmar::dialogs {
bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}
}  // namespace vexmar::dialogs
