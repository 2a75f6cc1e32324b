// vexmar-ebc check: the link check of a settings file's project, the same
// one Compile runs, printed for the author or a script.
#include <cstdio>
#include <iostream>

#include "build/link_question.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "cli/open_project.h"
#include "platform/text/text.h"

namespace vexmar::cli {
namespace {

constexpr const char* kUsage =
    "usage: vexmar-ebc check PROJECT.ebc [--json]\n"
    "Opens the settings file and checks every link and picture of its pages and style\n"
    "sheets, as vexmar-ebc build would check every file. Prints one finding a line:\n"
    "KIND<TAB>PAGE<TAB>TARGET, KIND one of missing, unchecked, unlisted, anchor, outside,\n"
    "home.\n"
    "  --json   print one array of objects with kind, page, line and target\n"
    "Exit codes: 0 nothing found, 3 something found, 1 a usage error, 2 the settings\n"
    "file cannot be used.\n";

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void PrintJson(const std::vector<build::LinkFinding>& findings) {
  std::cout << "[";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const build::LinkFinding& f = findings[i];
    std::cout << (i == 0 ? "\n" : ",\n") << "  {\"kind\": " << JsonString(build::KindWord(f.kind))
              << ", \"page\": " << JsonString(f.page) << ", \"line\": " << f.line
              << ", \"target\": " << JsonString(f.target) << "}";
  }
  std::cout << (findings.empty() ? "]\n" : "\n]\n");
}

}  // namespace

int CheckCommand(const std::vector<std::string>& args) {
  const ParsedArguments parsed = ParseArguments({{"PROJECT.ebc"}, {}, {"--json"}}, args);
  const Arguments& a = parsed.arguments;
  if (a.help) {
    std::cout << kUsage;
    return kExitDone;
  }
  if (!parsed.error.empty()) {
    std::cerr << "vexmar-ebc check: " << parsed.error << "\n\n" << kUsage;
    return kExitUsage;
  }
  ConsoleProgram program(false);
  workspace::FrmMain& w = program.Window();
  if (!OpenProjectWithEveryFile(program, a.positionals[0])) return kExitFailed;
  if (w.ProjectFolder.empty()) {
    std::cerr << "vexmar-ebc check: " << a.positionals[0] << " names no project folder\n";
    return kExitFailed;
  }
  const std::vector<build::LinkFinding> findings = build::CheckWindowLinks(w);
  if (a.Flag("--json")) {
    PrintJson(findings);
  } else {
    for (const build::LinkFinding& f : findings) {
      std::cout << build::KindWord(f.kind) << '\t' << text::ForTerminal(f.page) << '\t'
                << text::ForTerminal(f.target) << '\n';
    }
  }
  return findings.empty() ? kExitDone : kExitFindings;
}

}  // namespace vexmar::cli
