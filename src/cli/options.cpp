#include "cli/options.h"

namespace vexmar::cli {

const char* Usage() {
  return "usage: vexmar-ebc [--yes] --scan FOLDER\n"
         "  --scan FOLDER  choose FOLDER as the project folder, as the \"...\" button\n"
         "                 does, and print the files an e-book can hold, one a line\n"
         "  --yes          answer Yes to every question\n"
         "  --help         this text\n";
}

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  Options& o = parsed.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--yes") {
      o.assumeYes = true;
    } else if (arg == "--scan") {
      if (i + 1 >= args.size()) return {o, "--scan needs a folder"};
      o.projectFolder = args[++i];
    } else {
      return {o, "unknown argument: " + arg};
    }
  }
  if (!o.help && o.projectFolder.empty()) parsed.error = "nothing to do";
  return parsed;
}

}  // namespace vexmar::cli
