// vexmar-ebc build: an e-book from a settings file, by the main window's own
// commands: Open, every file checked, Compile.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "book/sha256.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "cli/open_project.h"
#include "cli/outside_links.h"
#include "platform/fs/file_system.h"
#include "platform/text/text.h"

namespace vexmar::cli {
namespace {

constexpr const char* kUsage =
    "usage: vexmar-ebc build PROJECT.ebc [--yes] [--strict] [--stub PATH] [--icon FILE.ico]\n"
    "Opens the settings file, checks every file of the project (and every page of the\n"
    "table of contents, when there is one) and compiles the e-book. What the link check\n"
    "finds (see vexmar-ebc check) is printed first, and asked about like the others.\n"
    "  --yes        answer Yes to the questions before compiling\n"
    "  --strict     build nothing when the link check finds anything (exit 2)\n"
    "  --stub PATH  the viewer to make the book from (default: dmsfx.dat beside vexmar-ebc)\n"
    "  --icon FILE.ico  the book's icon, in place of the viewer's\n"
    "SOURCE_DATE_EPOCH, when set, is the build date, so a rebuild gives the same bytes.\n";

void NoteLinksLeavingTheProject(const workspace::FrmMain& w) {
  std::vector<std::string> entries;
  for (int i = 0; i < w.lstFiles.Count(); ++i) entries.push_back(w.lstFiles.Entry(i));
  for (const OutsideLink& link : LinksLeavingTheProject(w.ProjectFolder, entries)) {
    std::cerr << "vexmar-ebc: note: " << text::ForTerminal(link.entry) << " is a link to "
              << text::ForTerminal(link.target)
              << ", outside the project folder; the e-book carries that file\n";
  }
}

// Every finding on standard error, before the question that lists ten.
bool PrintLinkFindings(const std::vector<build::LinkFinding>& findings, bool strict) {
  for (const build::LinkFinding& f : findings) {
    std::cerr << "vexmar-ebc build: " << build::KindWord(f.kind) << ": " << build::InPlainWords(f)
              << "\n";
  }
  if (strict) {
    std::cerr << "vexmar-ebc build: --strict: the link check found " << findings.size()
              << (findings.size() == 1 ? " problem" : " problems") << "; nothing was built\n";
  }
  return !strict;
}

// The finished book's SHA-256, last on standard output, for the author to
// publish beside the book.
int PrintChecksum(const std::string& book) {
  vexmar::book::Sha256 hasher;
  const Status read = fs::RealFileSystem().ReadInPieces(
      book, [&](std::string_view piece) { hasher.Update(piece); });
  if (!read) {
    std::cerr << "vexmar-ebc build: " << book
              << " was built but could not be read back: " << read.error().reason << "\n";
    return kExitFailed;
  }
  std::cout << "sha256: " << vexmar::book::ToHex(hasher.Finish()) << "\n";
  return kExitDone;
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
      ParseArguments({{"PROJECT.ebc"}, {"--stub", "--icon"}, {"--yes", "--strict"}}, args);
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
  if (!OpenProjectWithEveryFile(program, a.positionals[0])) return kExitFailed;
  NoteLinksLeavingTheProject(w);
  build::BuildSetup setup = program.Setup();
  const bool strict = a.Flag("--strict");
  setup.linkFindings = [strict](const std::vector<build::LinkFinding>& findings) {
    return PrintLinkFindings(findings, strict);
  };
  const build::CompileResult result = build::Compile(w, setup);
  if (result != build::CompileResult::Done) return kExitFailed;
  return PrintChecksum(w.txtoutfolder.Text() + w.txtoutfile.Text());
}

}  // namespace vexmar::cli
