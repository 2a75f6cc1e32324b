#include "program/lifecycle.h"

#include "workspace/mod_main.h"

namespace vexmar::program {

void StartUp(workspace::FrmMain& w, help::ModHelp& help, help::Skin& skin) {
  Host& host = w.GetHost();
  const std::string helpFile = workspace::AddBackslash(host.programFolder) + "help.txt";
  if (workspace::FileExists(host.files, helpFile)) help.LoadHelp(helpFile);
  workspace::FlattenControls(w.Window());
  for (ui::Image* icon : w.imghelp) icon->SetPicture(w.img1.GetPicture());
  w.chkTOC.SetValue(0);
  w.lstTOC.SetVisible(false);
  w.cmdAddToTOC.SetVisible(false);
  const ui::Picture skinPicture =
      host.ui.LoadPictureFile(workspace::AddBackslash(host.programFolder) + "skin.bmp");
  if (skinPicture != nullptr) skin.SetPicture(skinPicture);
  w.Window().SetCaption(kMainCaption);
}

void ExitCommand(workspace::FrmMain& w) {
  const dialogs::Answer answer =
      w.GetHost().modal.ShowMessage({"Exit E-book Creator?", "Exit?", dialogs::Buttons::YesNo,
                                     dialogs::Icon::Question, w.Window().Handle()});
  if (answer != dialogs::Answer::No) w.Window().Close();
}

}  // namespace vexmar::program
