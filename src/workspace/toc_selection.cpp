// Choosing the pages of the table of contents: the switch that shows the
// list, and "<< Add Files", which fills it from the checked project files.
#include "workspace/frm_main.h"

namespace vexmar::workspace {

void FrmMain::TocClick() {
  if (tocClicks_ < INT16_MAX) ++tocClicks_;
  if (txtpath.Text().empty() && tocClicks_ <= 1) {
    host_.modal.ShowMessage({"Please select a project folder first.", "E-book Compiler",
                             dialogs::Buttons::Ok, dialogs::Icon::None, form_.Handle()});
    // Unchecking runs this reaction again, nested; that run hides the list.
    chkTOC.SetValue(0);
    ProjectFolderCommand();
  }
  const bool on = chkTOC.Value() == 1;  // grayed (2) counts as off
  lstTOC.SetVisible(on);
  cmdAddToTOC.SetVisible(on);
}

void FrmMain::AddToToc() {
  lstTOC.Clear();
  const int count = lstFiles.Count();
  for (int i = 0; i < count; ++i) {
    if (lstFiles.Checked(i) && !lstTOC.Add(lstFiles.Entry(i))) break;
  }
}

}  // namespace vexmar::workspace
