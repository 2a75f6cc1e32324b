#pragma once
// One project state, filled into a main window the same way on every
// backend, and the settings file it must save as byte for byte: what the
// native suites and the Windows suites both hold the program to.
#include <string>

#include "workspace/frm_main.h"

namespace vexmar::testing {

// `folder` ends with the platform's separator.
inline void FillGardenProject(workspace::FrmMain& w, const std::string& folder) {
  w.txttitle.SetText("Garden Notes: Café edition");
  w.txtAuthor.SetText("A. Reader");
  w.txtURLText.SetText("More notes");
  w.txtURL.SetText("www.example.com");
  w.txtpath.SetText(folder);
  w.ProjectFolder = folder;
  w.lstFiles.Clear();
  for (const char* name : {"index.htm", "Chapter 1.html", "logo.gif"}) w.lstFiles.Add(name);
  w.txthomepage.SetText("index.htm");
  w.chkTOC.SetValue(1);
  w.lstTOC.Clear();
  w.lstTOC.Add("index.htm");
  w.lstTOC.Add("Chapter 1.html");
  w.txtoutfolder.SetText(folder + "Output" + folder.back());
  w.txtoutfile.SetText("Garden.exe");
}

inline std::string GardenSettingsFile(const std::string& folder) {
  return "Garden Notes: Caf\xE9 edition\r\n"
         "A. Reader\r\n"
         "More notes\r\n"
         "www.example.com\r\n" +
         folder + "\r\n" +
         "index.htm:Chapter 1.html:logo.gif\r\n"
         "index.htm\r\n"
         "1\r\n"
         "index.htm:Chapter 1.html\r\n" +
         folder + "Output" + folder.back() + "\r\n" +
         "Garden.exe\r\n"
         "blank\r\n"
         "blank\r\n";
}

}  // namespace vexmar::testing
