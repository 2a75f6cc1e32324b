#include <unistd.h>

#include "support/source_path.h"
#include "support/temp_folder.h"

namespace vexmar::testing {

std::string TempFolder::WriteHidden(const std::string& name) const {
  Write("." + name);
  return "." + name;
}

std::uint32_t ThisProcessForTest() {
  return static_cast<std::uint32_t>(getpid());
}

std::string SourcePath(const std::string& relative) {
  return std::string(VEXMAR_SOURCE_DIR) + "/" + relative;
}

}  // namespace vexmar::testing
