#include "cli/open_project.h"

#include "settings/settings_commands.h"

namespace vexmar::cli {
namespace {

void CheckAll(ui::CheckList& list) {
  for (int i = 0; i < list.Count(); ++i) list.SetChecked(i, true);
}

}  // namespace

bool OpenProjectWithEveryFile(ConsoleProgram& program, const std::string& settingsFile) {
  workspace::FrmMain& w = program.Window();
  program.Dialogs().openNames.push_back(AbsolutePath(settingsFile));
  if (!settings::OpenSettings(w)) return false;
  CheckAll(w.lstFiles);
  if (w.chkTOC.Value() == 1) CheckAll(w.lstTOC);
  return true;
}

}  // namespace vexmar::cli
