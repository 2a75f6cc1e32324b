// VexmarEbc.exe: the splash window first, which hands over to the main
// window on the Win32 backend, with the system's dialogs, until the main
// window closes.
#include <windows.h>

#include <memory>

#include "build/build_command.h"
#include "help/frm_splash.h"
#include "platform/dialogs/win32/win32_services.h"
#include "platform/fs/file_system.h"
#include "platform/host.h"
#include "platform/ui/win32/win32_backend.h"
#include "program/main_program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::unique_ptr<vexmar::ui::Backend> backend = vexmar::ui::MakeWin32Backend();
  const std::unique_ptr<vexmar::dialogs::ModalServices> services =
      vexmar::dialogs::MakeWin32Services();
  vexmar::Host host{*backend, *services, vexmar::fs::RealFileSystem(), vexmar::fs::ProgramFolder()};
  // Closing the main window, by any means, ends the program at once; so does
  // closing the splash before it has shown the main window.
  const auto endProgram = [] { PostQuitMessage(0); };
  vexmar::program::MainProgram program(host, vexmar::build::DefaultBuildSetup(host), endProgram);
  // The splash is discarded when it closes: nothing of it stays.
  std::unique_ptr<vexmar::help::FrmSplash> splash;
  splash = std::make_unique<vexmar::help::FrmSplash>(
      *backend, [&program] { program.Window().Window().Show(); }, endProgram,
      [&splash] { splash.reset(); });
  splash->Window().Show();
  return vexmar::dialogs::RunMessageLoop();
}
