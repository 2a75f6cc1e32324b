// vexmar-ebc build: an e-book from a settings file, by the main window's own
// commands: Open, every file checked, Compile.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "cli/outside_links.h"
#include "platform/text/text.h"
#include "settings/settings_commands.h"

namespace vexmar::cli {
namespace {

constexpr const char* kUsage =
    "usage: vexmar-ebc build PROJECT.ebc [--yes] [--stub PATH] [--icon FILE.ico]\n"
    "Opens the settings file, checks every file of the project (and every page of the\n"
    "table of contents, when there is one) and compiles the e-book.\n"
    "  --yes        answer Yes to the questions before compiling\n"
    "  --stub PATH  the viewer to make the book from (default: dmsfx.dat beside vexmar-ebc)\n"
    "  --icon FILE.ico  the book's icon, in place of the viewer's\n"
    "SOURCE_DATE_EPOCH, when set, is the build date, so a rebuild gives the same bytes.\n";

void CheckAll(ui::CheckList& list) {
  for (int i = 0; i < list.Count(); ++i) list.SetChecked(i, true);
}

void NoteLinksLeavingTheProject(const workspace::FrmMain& w) {
  std::vector<std::string> entries;
  for (int i = 0; i < w.lstFiles.Count(); ++i) entries.push_back(w.lstFiles.Entry(i));
  for (const OutsideLink& link : LinksLeavingTheProject(w.ProjectFolder, entries)) {
    std::cerr << "vexmar-ebc: note: " << text::ForTerminal(link.entry) << " is a link to "
              << text::ForTerminal(link.target)
              << ", outside the project folder; the e-book carries that file\n";
  }
}

// The icon file, read with a bound before anything else happens, so a file
// that is no icon ends the build with nothing written.
Result<build::IconResources> ReadIcon(const std::string& path) {
  const std::filesystem::path file = std::filesystem::u8path(path);
  std::ifstream in(file, std::ios::binary);
  if (!in) return Fail("it cannot be opened");
  std::string bytes(build::kMaxIconFileSize + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return Fail("it cannot be read");
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return build::ParseIconFile(bytes);
}

}  // namespace

int BuildCommand(const std::vector<std::string>& args) {
  const ParsedArguments parsed =
      ParseArguments({{"PROJECT.ebc"}, {"--stub", "--icon"}, {"--yes"}}, args);
  const Arguments& a = parsed.arguments;
  if (a.help) {
    std::cout << kUsage;
    return kExitDone;
  }
  if (!parsed.error.empty()) {
    std::cerr << "vexmar-ebc build: " << parsed.error << "\n\n" << kUsage;
    return kExitUsage;
  }
  std::optional<build::IconResources> icon;
  if (const auto iconPath = a.Value("--icon")) {
    Result<build::IconResources> read = ReadIcon(*iconPath);
    if (!read) {
      std::cerr << "vexmar-ebc build: " << text::ForTerminal(*iconPath)
                << " cannot be the book's icon: " << read.error().reason << "\n";
      return kExitFailed;
    }
    icon = std::move(read).value();
  }
  ConsoleProgram program(a.Flag("--yes"), a.Value("--stub").value_or(""), std::move(icon));
  workspace::FrmMain& w = program.Window();
  program.Dialogs().openNames.push_back(AbsolutePath(a.positionals[0]));
  if (!settings::OpenSettings(w)) return kExitFailed;
  CheckAll(w.lstFiles);
  if (w.chkTOC.Value() == 1) CheckAll(w.lstTOC);
  NoteLinksLeavingTheProject(w);
  const build::CompileResult result = build::Compile(w, program.Setup());
  return result == build::CompileResult::Done ? kExitDone : kExitFailed;
}

}  // namespace vexmar::cli
