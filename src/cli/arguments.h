#pragma once
// The command line of vexmar-ebc, one sub-command at a time.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vexmar::cli {

// Exit codes, as README.md lists them.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailed = 2;
inline constexpr int kExitFindings = 3;  // check: the link check found something

// What a sub-command accepts: its positional arguments, and options that
// take a value or stand alone.
struct CommandSyntax {
  std::vector<std::string> positionals;
  std::vector<std::string> valueOptions;  // "--title" takes the next argument
  std::vector<std::string> flags;         // "--yes" stands alone
};

struct Arguments {
  std::vector<std::string> positionals;
  std::map<std::string, std::string> values;
  std::vector<std::string> flags;
  bool help = false;

  std::optional<std::string> Value(const std::string& option) const;
  bool Flag(const std::string& flag) const;
};

struct ParsedArguments {
  Arguments arguments;
  std::string error;  // empty when the command line fits the syntax
};

ParsedArguments ParseArguments(const CommandSyntax& syntax, const std::vector<std::string>& args);

}  // namespace vexmar::cli
