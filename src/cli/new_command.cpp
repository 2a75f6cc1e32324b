// vexmar-ebc new: a settings file for a project folder, made by the main
// window's own commands: the folder scan, the table of contents, Save.
#include <functional>
#include <iostream>
#include <sstream>

#include "book/page_kind.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "platform/fs/file_system.h"
#include "platform/text/text.h"
#include "platform/ui/controls.h"
#include "settings/settings_commands.h"
#include "workspace/included_files.h"
#include "workspace/mod_main.h"
#include "workspace/subfolder_scan.h"

namespace vexmar::cli {
namespace {

constexpr const char* kUsage =
    "usage: vexmar-ebc new FOLDER -o PROJECT.ebc [options]\n"
    "Chooses FOLDER as the project folder, fills the fields and saves them as a settings file.\n"
    "  -o PROJECT.ebc     the settings file to write\n"
    "  --title T          the e-book's title\n"
    "  --author A         the author's name\n"
    "  --home PAGE        the home page, a file of FOLDER\n"
    "  --url-text T       the text of the book's web link\n"
    "  --url U            the address of the web link, without http://\n"
    "  --toc all|P1,P2    a table of contents of every page (web pages and text files),\n"
    "                     or of the pages named\n"
    "  --out-folder DIR   where the e-book goes (default: FOLDER's Output sub-folder)\n"
    "  --out-file NAME    the e-book's file name (.exe is added when missing)\n"
    "  --recursive        list the files of FOLDER's sub-folders too (images\\logo.gif),\n"
    "                     after FOLDER's own; hidden folders and links are not entered\n"
    "  --include S1,S2    list the files whose names end in these suffixes too (.css,.js),\n"
    "                     in any letter case, after the others; web stands for\n"
    "                     .css,.js,.svg,.woff,.woff2,.ttf,.ico,.webp,.bmp,.json,.xml,.pdf\n";

std::vector<std::string> SplitCommas(const std::string& list) {
  std::vector<std::string> items;
  std::stringstream in(list);
  for (std::string item; std::getline(in, item, ',');) {
    if (!item.empty()) items.push_back(item);
  }
  return items;
}

// The folder browser gives folders without a trailing separator.
std::string FolderAsBrowsed(std::string folder) {
  while (folder.size() > 1 && folder.back() == fs::PathSeparator()) folder.pop_back();
  return folder;
}

void FillTableOfContents(workspace::FrmMain& w, const std::string& toc) {
  w.chkTOC.SetValue(1);
  w.lstTOC.Clear();
  if (toc == "all") {
    // Every page, in the file list's order; pictures make no contents entry.
    for (int i = 0; i < w.lstFiles.Count(); ++i) {
      if (book::IsPageName(w.lstFiles.Entry(i))) w.lstTOC.Add(w.lstFiles.Entry(i));
    }
    return;
  }
  for (const std::string& page : SplitCommas(toc)) {
    bool listed = false;
    for (int i = 0; i < w.lstFiles.Count() && !listed; ++i) listed = w.lstFiles.Entry(i) == page;
    if (!listed) std::cerr << "vexmar-ebc: note: " << page << " is not a file of the project\n";
    w.lstTOC.Add(page);
  }
}

// Appends the files of `found` to the file list; false (with the message
// printed) when the list cannot take them all.
bool AddToFileList(workspace::FrmMain& w, bool recursive,
                   const std::function<Result<std::vector<std::string>>(std::size_t)>& found) {
  const int count = w.lstFiles.Count();
  const Result<std::vector<std::string>> entries =
      found(static_cast<std::size_t>(ui::CheckList::kMaxEntries - count));
  if (!entries) {
    static_assert(ui::CheckList::kMaxEntries == 32767, "the message names the limit");
    std::cerr << "vexmar-ebc new: " << text::ForTerminal(w.ProjectFolder)
              << (recursive ? " and its sub-folders hold" : " holds")
              << " more files than a file list can (32,767); choose a smaller folder\n";
    return false;
  }
  for (const std::string& entry : entries.value()) w.lstFiles.Add(entry);
  return true;
}

}  // namespace

int NewCommand(const std::vector<std::string>& args) {
  const CommandSyntax syntax{{"FOLDER"},
                             {"-o", "--title", "--author", "--home", "--url-text", "--url", "--toc",
                              "--out-folder", "--out-file", "--include"},
                             {"--recursive"}};
  const ParsedArguments parsed = ParseArguments(syntax, args);
  const Arguments& a = parsed.arguments;
  if (a.help) {
    std::cout << kUsage;
    return kExitDone;
  }
  const std::string error = !parsed.error.empty() ? parsed.error
                            : !a.Value("-o")      ? "-o PROJECT.ebc is missing"
                                                  : "";
  if (!error.empty()) {
    std::cerr << "vexmar-ebc new: " << error << "\n\n" << kUsage;
    return kExitUsage;
  }

  workspace::IncludedSuffixes included;
  if (auto v = a.Value("--include")) {
    Result<workspace::IncludedSuffixes> suffixes = workspace::IncludedSuffixes::Parse(*v);
    if (!suffixes) {
      std::cerr << "vexmar-ebc new: --include " << text::ForTerminal(*v) << ": "
                << suffixes.error().reason << "\n\n"
                << kUsage;
      return kExitUsage;
    }
    included = std::move(suffixes.value());
  }

  const std::string folder = FolderAsBrowsed(AbsolutePath(a.positionals[0]));
  if (!fs::RealFileSystem().FolderExists(folder)) {
    std::cerr << "vexmar-ebc new: " << folder << " is not a folder\n";
    return kExitFailed;
  }
  ConsoleProgram program(false);
  workspace::FrmMain& w = program.Window();
  program.Dialogs().folders.push_back(folder);
  w.cmdopen.Click();
  fs::FileSystem& disk = fs::RealFileSystem();
  const bool recursive = a.Flag("--recursive");
  const auto subfolderFiles = [&](std::size_t room) {
    return workspace::ListSubfolderEntries(disk, w.ProjectFolder, room);
  };
  const auto includedFiles = [&](std::size_t room) {
    return workspace::ListIncludedEntries(disk, w.ProjectFolder, included, recursive, room);
  };
  if (recursive && !AddToFileList(w, recursive, subfolderFiles)) return kExitFailed;
  if (a.Value("--include") && !AddToFileList(w, recursive, includedFiles)) return kExitFailed;

  if (auto v = a.Value("--title")) w.txttitle.SetText(*v);
  if (auto v = a.Value("--author")) w.txtAuthor.SetText(*v);
  if (auto v = a.Value("--home")) w.txthomepage.SetText(*v);
  if (auto v = a.Value("--url-text")) w.txtURLText.SetText(*v);
  if (auto v = a.Value("--url")) w.txtURL.SetText(*v);
  if (auto v = a.Value("--out-folder")) {
    w.txtoutfolder.SetText(workspace::AddBackslash(FolderAsBrowsed(AbsolutePath(*v))));
  }
  if (auto v = a.Value("--out-file")) w.txtoutfile.SetText(*v);
  if (auto v = a.Value("--toc")) FillTableOfContents(w, *v);

  const std::string project = AbsolutePath(*a.Value("-o"));
  program.Dialogs().saveNames.push_back(project);
  if (!settings::SaveSettings(w)) return kExitFailed;
  std::cout << project << ": " << w.lstFiles.Count() << " files of " << w.ProjectFolder
            << (w.chkTOC.Value() == 1
                    ? ", with a table of contents of " + std::to_string(w.lstTOC.Count()) + " pages"
                    : std::string())
            << "\n";
  return kExitDone;
}

}  // namespace vexmar::cli
