// vexmar-ebc: the e-book compiler without a screen. It builds the real main
// window on the headless backend and runs the window's own commands, so the
// command line and the Windows program cannot drift apart.
#include <iostream>
#include <string>
#include <vector>

#include "cli/options.h"
#include "platform/dialogs/console/console_services.h"
#include "platform/fs/file_system.h"
#include "platform/ui/headless/headless_backend.h"
#include "workspace/frm_main.h"

namespace {

using vexmar::cli::Options;

int Scan(const Options& options) {
  vexmar::ui::HeadlessBackend backend;
  vexmar::dialogs::ConsoleServices modal(
      {options.assumeYes, vexmar::dialogs::StandardInputIsTerminal()}, std::cerr, std::cin);
  vexmar::Host host{backend, modal, vexmar::fs::RealFileSystem(), vexmar::fs::ProgramFolder()};
  vexmar::workspace::FrmMain window(host);

  modal.folders.push_back(options.projectFolder);
  window.cmdopen.Click();
  if (window.ProjectFolder.empty()) {
    std::cerr << "vexmar-ebc: no project folder\n";
    return 2;
  }
  for (int i = 0; i < window.lstFiles.Count(); ++i)
    std::cout << window.lstFiles.Entry(i) << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const vexmar::cli::ParsedOptions parsed = vexmar::cli::ParseOptions(args);
  if (!parsed.error.empty()) {
    std::cerr << "vexmar-ebc: " << parsed.error << "\n\n" << vexmar::cli::Usage();
    return 2;
  }
  if (parsed.options.help) {
    std::cout << vexmar::cli::Usage();
    return 0;
  }
  return Scan(parsed.options);
}
