#pragma once
// The main window, frmmain. Its controls are the project being edited: there
// is no project object, and every command reads and writes them by name.
#include <array>
#include <cstdint>
#include <string>

#include "platform/host.h"
#include "platform/ui/form.h"

namespace vexmar::workspace {

class FrmMain {
 public:
  static constexpr int kHelpIcons = 10;
  static constexpr int kStepNumbers = 4;

  explicit FrmMain(Host& host);
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  ui::Form& Window() { return form_; }
  Host& GetHost() { return host_; }

  // The project folder the build works from, with a trailing separator;
  // empty when none is chosen. It normally equals txtpath's text, but the
  // author may type into txtpath without changing it.
  std::string ProjectFolder;

  // Whether a build has put the table of contents in front of the index page
  // during this window's life. Set before the page is touched and never
  // cleared, not even by New or by opening another project, so no page ever
  // gets a second table of contents from one session.
  bool TocInserted = false;

  // Commands of the project folder and the file list.
  void ProjectFolderCommand();  // cmdopen: choose and scan the project folder
  void OutputFolderCommand();   // cmdoutput: choose the output folder
  void LbSelect();              // check every entry of lstFiles
  void HomePagePick();          // double-click on lstFiles

  // Commands of the table of contents.
  void TocClick();  // the click reaction of chkTOC
  void AddToToc();  // cmdAddToTOC: "<< Add Files"
  std::int16_t TocClickCount() const { return tocClicks_; }

 private:
  Host& host_;
  ui::Form form_;
  // How often chkTOC's reaction has run in this window's life; only the very
  // first run asks for a project folder.
  std::int16_t tocClicks_ = 0;

 public:
  // In the window's control order: the commands that visit every control
  // (New, the build's ":" check) go through them in this order.
  ui::TextBox& txtURL;
  ui::TextBox& txtURLText;
  ui::TextBox& txtoutfolder;
  ui::TextBox& txthomepage;
  ui::TextBox& txtoutfile;
  ui::TextBox& txtpath;
  ui::TextBox& txtAuthor;
  ui::TextBox& txttitle;
  ui::CheckList& lstTOC;
  ui::CheckList& lstFiles;
  ui::CheckBox& chkTOC;

  ui::Button& cmdNew;
  ui::Button& cmdLoadFile;
  ui::Button& cmdSave;
  ui::Button& cmdopen;
  ui::Button& cmdselall;
  ui::Button& cmdAddToTOC;
  ui::Button& cmdoutput;
  ui::Button& cmdcompile;
  ui::Button& cmdExit;

  ui::Label& lbltitle;
  ui::Label& Label1;
  ui::Label& Label3;
  ui::Label& Label8;
  ui::Label& Label2;
  ui::Label& Label5;
  ui::Label& Label4;
  ui::Label& Label6;
  ui::Label& Label7;
  std::array<ui::Label*, kStepNumbers> lblNums;

  std::array<ui::Image*, kHelpIcons> imghelp;
  ui::Image& img1;  // the hidden template of the help icons' picture

  ui::Line& Line1;
  ui::Line& Line2;
  ui::Line& Line3;
};

}  // namespace vexmar::workspace
