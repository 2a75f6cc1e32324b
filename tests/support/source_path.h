#pragma once
#include <string>

namespace vexmar::testing {

// A file of the source tree (assets, examples) as this platform's programs
// name it.
std::string SourcePath(const std::string& relative);

}  // namespace vexmar::testing
