#include <unistd.h>

#include "platform/dialogs/console/console_services.h"

namespace vexmar::dialogs {
bool StandardInputIsTerminal() {
  return isatty(STDIN_FILENO) != 0;
}
}  // namespace vexmar::dialogs
