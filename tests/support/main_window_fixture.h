#pragma once
// The main window on the headless backend with scripted dialogs, over the
// real file system or a fake one.
#include <memory>

#include "platform/dialogs/scripted/scripted_services.h"
#include "platform/host.h"
#include "platform/ui/headless/headless_backend.h"
#include "support/fake_file_system.h"
#include "workspace/frm_main.h"

namespace vexmar::testing {

struct MainWindowFixture {
  explicit MainWindowFixture(fs::FileSystem& files = fs::RealFileSystem())
      : host{backend, modal, files, "/program/"},
        window(std::make_unique<workspace::FrmMain>(host)) {}

  ui::HeadlessBackend backend;
  dialogs::ScriptedServices modal;
  Host host;
  std::unique_ptr<workspace::FrmMain> window;
  workspace::FrmMain& w() { return *window; }
};

std::vector<std::string> Entries(const ui::CheckList& list);
std::vector<bool> Checks(const ui::CheckList& list);

}  // namespace vexmar::testing
