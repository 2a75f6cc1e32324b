#include "settings/new_project.h"

namespace vexmar::settings {

void NewProject(workspace::FrmMain& window) {
  ui::Form& form = window.Window();
  for (int i = 0; i < form.ControlCount(); ++i) {
    ui::Control& control = form.ControlAt(i);
    switch (control.Kind()) {
      case ui::ControlKind::TextBox:
        static_cast<ui::TextBox&>(control).SetText("");
        break;
      case ui::ControlKind::CheckList:
        static_cast<ui::CheckList&>(control).Clear();
        break;
      case ui::ControlKind::CheckBox:
        static_cast<ui::CheckBox&>(control).SetValue(0);
        break;
      default:
        break;  // labels, buttons, images and lines keep what they show
    }
  }
  window.ProjectFolder.clear();
}

}  // namespace vexmar::settings
