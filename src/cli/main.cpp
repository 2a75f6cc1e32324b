// vexmar-ebc: the e-book compiler without a screen. It builds the real main
// window on the headless backend and runs the window's own commands, so the
// command line and the Windows program cannot drift apart.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/program_arguments.h"

namespace {

constexpr const char* kUsage =
    "usage: vexmar-ebc COMMAND [arguments]\n"
    "  new FOLDER -o PROJECT.ebc [options]   make a settings file for a project folder\n"
    "  check PROJECT.ebc [--json]            check every link and picture of the pages\n"
    "  build PROJECT.ebc [--yes] [--strict]  compile the e-book of a settings file\n"
    "  inspect BOOK.exe                      print an e-book's settings and files\n"
    "  extract BOOK.exe DIR                  write an e-book's files into a folder\n"
    "Each command takes --help. Exit codes: 0 done, 1 a usage error, 2 the command failed,\n"
    "3 check found something.\n";

}  // namespace

int main(int argc, char** argv) {
  // Dates in the settings record follow the user's own short date format.
  std::setlocale(LC_TIME, "");
  const std::vector<std::string> args = vexmar::cli::ProgramArguments(argc, argv);
  const std::string command = args.empty() ? "" : args[0];
  const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
  if (command == "new") return vexmar::cli::NewCommand(rest);
  if (command == "build") return vexmar::cli::BuildCommand(rest);
  if (command == "check") return vexmar::cli::CheckCommand(rest);
  if (command == "inspect") return vexmar::cli::InspectCommand(rest);
  if (command == "extract") return vexmar::cli::ExtractCommand(rest);
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return vexmar::cli::kExitDone;
  }
  std::cerr << (command.empty() ? "vexmar-ebc: no command"
                                : "vexmar-ebc: unknown command " + command)
            << "\n\n"
            << kUsage;
  return vexmar::cli::kExitUsage;
}
