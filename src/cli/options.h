#pragma once
// The command line of vexmar-ebc.
#include <string>
#include <vector>

namespace vexmar::cli {

struct Options {
  bool help = false;
  bool assumeYes = false;     // --yes: answer Yes to every question
  std::string projectFolder;  // --scan FOLDER
};

struct ParsedOptions {
  Options options;
  std::string error;  // empty when the command line is sound
};

ParsedOptions ParseOptions(const std::vector<std::string>& args);
const char* Usage();

}  // namespace vexmar::cli
