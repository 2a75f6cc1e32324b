#pragma once
// The sub-commands of vexmar-ebc. Each returns the program's exit code.
#include <string>
#include <vector>

namespace vexmar::cli {

int NewCommand(const std::vector<std::string>& args);
int BuildCommand(const std::vector<std::string>& args);
int CheckCommand(const std::vector<std::string>& args);
int InspectCommand(const std::vector<std::string>& args);
int ExtractCommand(const std::vector<std::string>& args);

}  // namespace vexmar::cli
