#include "cli/arguments.h"

#include <algorithm>

namespace vexmar::cli {
namespace {

bool Has(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

std::optional<std::string> Arguments::Value(const std::string& option) const {
  const auto it = values.find(option);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

bool Arguments::Flag(const std::string& flag) const {
  return Has(flags, flag);
}

ParsedArguments ParseArguments(const CommandSyntax& syntax, const std::vector<std::string>& args) {
  ParsedArguments parsed;
  Arguments& a = parsed.arguments;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      a.help = true;
    } else if (Has(syntax.valueOptions, arg)) {
      if (i + 1 >= args.size()) return {a, arg + " needs a value"};
      if (a.values.count(arg) > 0) return {a, arg + " is given twice"};
      a.values[arg] = args[++i];
    } else if (Has(syntax.flags, arg)) {
      a.flags.push_back(arg);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return {a, "unknown option " + arg};
    } else {
      a.positionals.push_back(arg);
    }
  }
  if (a.help) return parsed;
  if (a.positionals.size() < syntax.positionals.size()) {
    return {a, "missing " + syntax.positionals[a.positionals.size()]};
  }
  if (a.positionals.size() > syntax.positionals.size()) {
    return {a, "unexpected argument " + a.positionals[syntax.positionals.size()]};
  }
  return parsed;
}

}  // namespace vexmar::cli
