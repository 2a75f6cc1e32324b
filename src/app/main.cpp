// VexmarEbc.exe: the main window on the Win32 backend, with the system's
// dialogs, until the main window closes.
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/dialogs/win32/win32_services.h"
#include "platform/fs/file_system.h"
#include "platform/host.h"
#include "platform/ui/win32/win32_backend.h"
#include "workspace/frm_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::unique_ptr<vexmar::ui::Backend> backend = vexmar::ui::MakeWin32Backend();
  const std::unique_ptr<vexmar::dialogs::ModalServices> services =
      vexmar::dialogs::MakeWin32Services();
  vexmar::Host host{*backend, *services, vexmar::fs::RealFileSystem(), vexmar::fs::ProgramFolder()};
  vexmar::workspace::FrmMain main(host);

  // Closing the main window, by any means, ends the program; the window's
  // own unload reaction runs first. It is chained after the first showing,
  // whose load reaction (the start-up) may set that reaction itself.
  vexmar::ui::Form& window = main.Window();
  window.Show();
  std::function<void()> unload = window.onUnload;
  window.onUnload = [unload] {
    if (unload) unload();
    PostQuitMessage(0);
  };
  if (window.Closed()) return 0;
  return vexmar::dialogs::RunMessageLoop();
}
