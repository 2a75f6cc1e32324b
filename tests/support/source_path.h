#pragma once
#include <string>

namespace vexmar::testing {

// A file of the source tree (assets, examples) as this platform's programs
// name it.
inline std::string SourcePath(const std::string& relative) {
  return std::string(VEXMAR_SOURCE_DIR) + "/" + relative;
}

}  // namespace vexmar::testing
