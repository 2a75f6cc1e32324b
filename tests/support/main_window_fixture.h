#pragma once
// The main window on the headless backend with scripted dialogs, over the
// real file system or a fake one.
#include <memory>
#include <tuple>

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

inline std::vector<std::string> Entries(const ui::CheckList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Entry(i));
  return out;
}
inline std::vector<bool> Checks(const ui::CheckList& list) {
  std::vector<bool> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Checked(i));
  return out;
}
// The project the window holds as one text, line by line: every text box,
// both lists with their check marks ("[x]"), the switch, whether the contents
// list shows, and the project folder.
inline std::string Snapshot(workspace::FrmMain& w) {
  std::string out;
  for (const ui::TextBox* box : {&w.txttitle, &w.txtAuthor, &w.txtURLText, &w.txtURL, &w.txtpath,
                                 &w.txthomepage, &w.txtoutfolder, &w.txtoutfile}) {
    out += box->Name() + "=" + box->Text() + "\n";
  }
  for (const ui::CheckList* list : {&w.lstFiles, &w.lstTOC}) {
    out += list->Name() + "=";
    for (int i = 0; i < list->Count(); ++i) {
      out += (list->Checked(i) ? "[x]" : "") + list->Entry(i) + ":";
    }
    out += "\n";
  }
  return out + "chkTOC=" + std::to_string(w.chkTOC.Value()) + (w.lstTOC.Visible() ? " shown" : "") +
         (w.cmdAddToTOC.Visible() ? " add" : "") + "\nProjectFolder=" + w.ProjectFolder + "\n";
}

// A message box as one value: its text, title, buttons and icon.
inline auto Box(const dialogs::Message& m) {
  return std::make_tuple(m.text, m.title, m.buttons, m.icon);
}
inline auto Box(std::string text, std::string title, dialogs::Icon icon,
                dialogs::Buttons buttons = dialogs::Buttons::Ok) {
  return std::make_tuple(std::move(text), std::move(title), buttons, icon);
}

}  // namespace vexmar::testing
