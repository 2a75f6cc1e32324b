// The file system gives names as UTF-8 bytes, and so does the shell.
#include "cli/program_arguments.h"

namespace vexmar::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace vexmar::cli
