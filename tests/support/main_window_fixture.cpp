#include "support/main_window_fixture.h"

namespace vexmar::testing {

std::string Snapshot(workspace::FrmMain& w) {
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

}  // namespace vexmar::testing
