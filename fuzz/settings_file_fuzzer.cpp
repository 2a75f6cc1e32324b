// libFuzzer entry for the settings file's reader: any bytes are opened into
// the real main window on the headless backend. Opening must never fault,
// never fill a list past its limit, and what it loaded must save and open
// again to the same window.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/dialogs/scripted/scripted_services.h"
#include "platform/fs/file_system.h"
#include "platform/host.h"
#include "platform/text/text.h"
#include "platform/ui/headless/headless_backend.h"
#include "settings/new_project.h"
#include "settings/settings_file.h"
#include "workspace/frm_main.h"

namespace {

using vexmar::workspace::FrmMain;

std::string Snapshot(FrmMain& w) {
  return vexmar::settings::FormatSettingsFile(w);
}

void Open(FrmMain& w, const std::string& text) {
  vexmar::settings::NewProject(w);
  vexmar::settings::ApplySettingsLines(w, vexmar::settings::SplitSettingsLines(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vexmar::ui::HeadlessBackend backend;
  vexmar::dialogs::ScriptedServices modal;
  vexmar::Host host{backend, modal, vexmar::fs::RealFileSystem(), "/nonexistent/"};
  FrmMain w(host);
  w.txtpath.SetText("x");  // the switch's first-run question is not what is fuzzed

  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Open(w, vexmar::text::FromAnsiOrMarkedUtf8(bytes));
  if (w.lstFiles.Count() > vexmar::ui::CheckList::kMaxEntries ||
      w.lstTOC.Count() > vexmar::ui::CheckList::kMaxEntries) {
    std::abort();
  }
  // Saved and opened again, the window is the same: the format loses
  // nothing it stores.
  const std::string saved = Snapshot(w);
  Open(w, saved);
  if (Snapshot(w) != saved) std::abort();
  return 0;
}
