#pragma once
// The command line's arguments, without the program's name, as UTF-8.
#include <string>
#include <vector>

namespace vexmar::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace vexmar::cli
