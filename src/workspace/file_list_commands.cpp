// The project folder and the file list: choosing and scanning the project
// folder, choosing the output folder, checking every file, and taking a file
// as the home page.
#include "workspace/book_files.h"
#include "workspace/frm_main.h"
#include "workspace/mod_main.h"

namespace vexmar::workspace {
namespace {

constexpr const char* kBrowseTitle = "Choose the folder were all your files are in below:";

}  // namespace

void FrmMain::ProjectFolderCommand() {
  const std::string folder =
      AddBackslash(BrowseForFolder(host_.modal, form_.Handle(), kBrowseTitle));
  if (folder.size() <= 1) return;  // cancelled: nothing changes
  txtpath.SetText(folder);
  ProjectFolder = folder;
  txtoutfolder.SetText(folder);
  lstFiles.Clear();

  // The scan hands control back to the window after every name, so the author
  // may start another command meanwhile. When anything empties the list again
  // (a second scan, New, opening a settings file) the list belongs to that
  // command from then on, and this scan stops rather than add names of its
  // folder to another project's list.
  const unsigned ownClear = lstFiles.ClearCount();
  const auto listing = host_.files.ListNormalFiles(folder);
  for (std::string name = listing->Next(); !name.empty(); name = listing->Next()) {
    if (QualifiesForBook(name) && !lstFiles.Add(name)) break;  // the list is full
    host_.modal.DoEvents();
    if (lstFiles.ClearCount() != ownClear || form_.Closed()) break;
  }
}

void FrmMain::OutputFolderCommand() {
  const std::string folder =
      AddBackslash(BrowseForFolder(host_.modal, form_.Handle(), kBrowseTitle));
  if (folder.size() <= 1) return;
  txtoutfolder.SetText(folder);
}

void FrmMain::LbSelect() {
  const int count = lstFiles.Count();
  for (int i = 0; i < count; ++i) lstFiles.SetChecked(i, true);
  lstFiles.Repaint();
}

void FrmMain::HomePagePick() {
  const std::string entry = lstFiles.CurrentText();
  if (entry.empty()) return;
  txthomepage.SetText(entry);
}

}  // namespace vexmar::workspace
