#include <unistd.h>

#include "support/temp_folder.h"

namespace vexmar::testing {

std::string TempFolder::WriteHidden(const std::string& name) const {
  Write("." + name);
  return "." + name;
}

std::uint32_t ThisProcessForTest() {
  return static_cast<std::uint32_t>(getpid());
}

}  // namespace vexmar::testing
