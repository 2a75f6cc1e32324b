#include "support/temp_folder.h"

namespace vexmar::testing {

std::string TempFolder::WriteHidden(const std::string& name) const {
  Write("." + name);
  return "." + name;
}

}  // namespace vexmar::testing
