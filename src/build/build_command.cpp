#include "build/build_command.h"

#include <cstdlib>
#include <map>

#include "book/book_format.h"
#include "build/ebook_image.h"
#include "build/link_question.h"
#include "build/project_bounds.h"
#include "build/toc_insertion.h"
#include "build/version_info.h"
#include "platform/text/short_date.h"
#include "platform/text/text.h"
#include "workspace/mod_main.h"

namespace vexmar::build {
namespace {

using dialogs::Answer;
using dialogs::Buttons;
using dialogs::Icon;

constexpr char kCrLf[] = "\r\n";

class Build {
 public:
  Build(workspace::FrmMain& window, const BuildSetup& setup)
      : w_(window), setup_(setup), host_(window.GetHost()) {}

  CompileResult Run();

 private:
  Answer Ask(const std::string& text, Icon icon) {
    return host_.modal.ShowMessage({text, "Confirm", Buttons::YesNo, icon, Owner()});
  }
  void Tell(const std::string& text, const std::string& title, Icon icon = Icon::None) {
    host_.modal.ShowMessage({text, title, Buttons::Ok, icon, Owner()});
  }
  std::string Caption() const { return w_.Window().Caption(); }
  ui::NativeHandle Owner() const { return w_.Window().Handle(); }

  bool ChecksPass();
  bool NamesFitTheBook();
  CompileResult Produce();
  // An unexpected failure ends the build with the generic message.
  CompileResult Unexpected(const Error& error);

  workspace::FrmMain& w_;
  const BuildSetup& setup_;
  Host& host_;
};

// Error numbers of the generic message, by the kind of failure, in the
// numbering Windows programs of this kind have always shown.
int ErrorNumber(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::NotFound:
      return 76;  // path not found
    case ErrorKind::AccessDenied:
    case ErrorKind::ReadOnly:
    case ErrorKind::InUse:
      return 70;  // permission denied
    case ErrorKind::DiskFull:
      return 61;
    case ErrorKind::NotAFolder:
    case ErrorKind::Other:
      return 75;  // path/file access error
  }
  return 75;
}

bool LastFourAre(const std::string& text, const std::string& tail, bool upper) {
  if (text.size() < 4) return false;
  const std::string last = text.substr(text.size() - 4);
  return (upper ? text::ToUpper(last) : text::ToLower(last)) == tail;
}

bool AnyChecked(const ui::CheckList& list) {
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Checked(i)) return true;
  }
  return false;
}

CompileResult Build::Run() {
  if (Ask("Are you ready to build your e-book now?", Icon::None) == Answer::No) {
    return CompileResult::Cancelled;
  }
  if (w_.chkTOC.Value() == 1 &&
      Ask("A table of contents will be written at the top of your home page, in the page's own "
          "file in the project folder.  Do you want to go on?",
          Icon::Question) == Answer::No) {
    return CompileResult::Cancelled;
  }
  if (!ChecksPass() || !NamesFitTheBook()) return CompileResult::CheckFailed;
  switch (AskAboutLinks(w_, setup_)) {
    case LinkVerdict::Declined:
      return CompileResult::Cancelled;
    case LinkVerdict::Refused:
      return CompileResult::CheckFailed;
    case LinkVerdict::Build:
      break;
  }
  w_.Window().SetMousePointer(ui::MousePointer::Hourglass);
  const CompileResult result = Produce();
  w_.Window().SetMousePointer(ui::MousePointer::Default);
  return result;
}

bool Build::ChecksPass() {
  ui::Form& form = w_.Window();
  for (int i = 0; i < form.ControlCount(); ++i) {
    ui::Control& control = form.ControlAt(i);
    if (control.Kind() != ui::ControlKind::TextBox || control.Name() == "txtpath" ||
        control.Name() == "txtoutfolder") {
      continue;
    }
    if (static_cast<ui::TextBox&>(control).Text().find(':') != std::string::npos) {
      Tell("Please remove all ':' characters", "Data Error");
      control.SetFocus();
      return false;
    }
  }
  if (w_.ProjectFolder.empty() || w_.lstFiles.Count() == 0) {
    Tell("No project files were found please select your project folder.", Caption(),
         Icon::Information);
    w_.ProjectFolderCommand();
    return false;
  }
  const std::string home = w_.txthomepage.Text();
  if (text::TrimSpaces(home).empty()) {
    Tell("You need to include the name of your default index page.", Caption(), Icon::Information);
    w_.txthomepage.SetFocus();
    w_.txthomepage.SetBackColor(ui::kYellow);
    return false;
  }
  if (LeavesTheProjectFolder(home)) {
    Tell(
        std::string("The index page must be a file of your project folder:") + kCrLf + kCrLf + home,
        Caption(), Icon::Critical);
    w_.txthomepage.SetFocus();
    w_.txthomepage.SetBackColor(ui::kYellow);
    return false;
  }
  if (!workspace::FileExists(host_.files, PathInProject(w_.ProjectFolder, home))) {
    Tell(std::string("The index page name you entered was not found.") + kCrLf + kCrLf +
             PathInProject(w_.ProjectFolder, home),
         Caption(), Icon::Critical);
    w_.txthomepage.SetFocus();
    w_.txthomepage.SetSelLength(static_cast<int>(text::Utf8ToUtf16(home).size()));
    w_.txthomepage.SetBackColor(ui::kYellow);
    return false;
  }
  const std::string outFile = w_.txtoutfile.Text();
  if (text::TrimSpaces(outFile).empty()) {
    Tell("You have not entered in a name for your ebook. A default name will be provided for you.",
         Caption(), Icon::Information);
    w_.txtoutfile.SetText("MyEbook");
  } else if (!LastFourAre(outFile, ".EXE", true)) {
    w_.txtoutfile.SetText(outFile + ".exe");
  }
  if (w_.txttitle.Text().empty()) {
    Tell("Please enter an ebook title.", kApplicationTitle);
    w_.txttitle.SetFocus();
    w_.txttitle.SetBackColor(ui::kYellow);
    return false;
  }
  if (w_.txtAuthor.Text().empty()) {
    Tell("Please enter the author of this ebook.", kApplicationTitle);
    w_.txtAuthor.SetFocus();
    w_.txtAuthor.SetBackColor(ui::kYellow);
    return false;
  }
  if (!LastFourAre(w_.txtoutfile.Text(), ".exe", false)) {
    w_.txtoutfile.SetText(w_.txtoutfile.Text() + ".exe");
  }
  if (!AnyChecked(w_.lstFiles)) {
    Tell("Please select the files to include in your project before creating your E-book.",
         kApplicationTitle);
    w_.lstFiles.SetFocus();
    return false;
  }
  if (w_.chkTOC.Value() == 1 && !AnyChecked(w_.lstTOC)) {
    Tell(
        "Please select the files to include in your Table of Contents before creating your "
        "E-book.",
        kApplicationTitle);
    w_.lstTOC.SetFocus();
    return false;
  }
  return true;
}

// Every checked file is stored under its name in upper case. Two names that
// meet there (by the loader's upper-casing, in any script) would overwrite
// each other, and a name that leaves the project folder is none of the
// project's files; both are refused before anything is written.
bool Build::NamesFitTheBook() {
  std::map<std::string, std::string> stored;
  for (int i = 0; i < w_.lstFiles.Count(); ++i) {
    if (!w_.lstFiles.Checked(i)) continue;
    const std::string entry = w_.lstFiles.Entry(i);
    if (LeavesTheProjectFolder(entry)) {
      Tell(std::string("This file is not in your project folder, so it cannot go into the "
                       "e-book:") +
               kCrLf + kCrLf + entry + kCrLf + kCrLf + "Please uncheck it.",
           kApplicationTitle, Icon::Critical);
      w_.lstFiles.SetFocus();
      return false;
    }
    const auto [it, fresh] = stored.emplace(StoredEntryName(entry), entry);
    if (!fresh) {
      Tell(std::string("Two checked files would have the same name in the e-book:") + kCrLf +
               kCrLf + it->second + kCrLf + entry + kCrLf + kCrLf + "Please uncheck one of them.",
           kApplicationTitle, Icon::Critical);
      w_.lstFiles.SetFocus();
      return false;
    }
  }
  return true;
}

CompileResult Build::Produce() {
  // Before anything is written: a SOURCE_DATE_EPOCH that names no day ends
  // the build here, not with a book dated otherwise.
  const Result<BuildDay> day = setup_.buildDay();
  if (!day) return Unexpected(day.error());
  if (w_.txtpath.Text() == w_.txtoutfolder.Text()) {
    w_.txtoutfolder.SetText(w_.txtoutfolder.Text() + "Output" + fs::PathSeparator());
    const std::string folder = w_.txtoutfolder.Text();
    if (!host_.files.FolderExists(folder)) {
      const Status created = host_.files.CreateFolder(folder);
      if (!created) return Unexpected(created.error());
    }
  }
  if (w_.chkTOC.Value() == 1 && !w_.TocInserted) {
    const Status inserted = InsertToc(w_);
    if (!inserted) return Unexpected(inserted.error());
  }

  AssemblyInputs inputs;
  inputs.settings = {w_.txttitle.Text(), w_.txtAuthor.Text(),  w_.txthomepage.Text(),
                     day->recordText,    w_.txtURLText.Text(), w_.txtURL.Text()};
  inputs.outputPath = w_.txtoutfolder.Text() + w_.txtoutfile.Text();
  inputs.replacedTypes.push_back(kVersionType);
  inputs.entries.push_back({EntryId::Number(kVersionType), EntryId::Number(kVersionName),
                            book_format::kLanguage,
                            VersionResource({w_.txttitle.Text(), w_.txtAuthor.Text(),
                                             w_.txtoutfile.Text(), day->date})});
  if (setup_.icon) {
    inputs.replacedTypes.insert(inputs.replacedTypes.end(), {kIconType, kGroupIconType});
    inputs.entries.push_back({EntryId::Number(kGroupIconType), EntryId::Number(kIconGroupName),
                              book_format::kLanguage, setup_.icon->group});
    for (std::size_t i = 0; i < setup_.icon->images.size(); ++i) {
      inputs.entries.push_back({EntryId::Number(kIconType),
                                EntryId::Number(static_cast<int>(i + 1)), book_format::kLanguage,
                                setup_.icon->images[i]});
    }
  }
  inputs.stubPath = setup_.stubPath;
  inputs.readerEntries = setup_.readerEntries;
  for (int i = 0; i < w_.lstFiles.Count(); ++i) {
    if (w_.lstFiles.Checked(i)) {
      const std::string entry = w_.lstFiles.Entry(i);
      inputs.files.push_back({entry, PathInProject(w_.ProjectFolder, entry)});
    }
  }

  const AssemblyResult result = AssembleEbook(host_.files, setup_.resources, inputs);
  switch (result.outcome) {
    case Outcome::StubMissing:
      Tell(std::string("There was an error finding the file:") + kCrLf + kCrLf +
               "Please check that all files are installed correctly.",
           Caption(), Icon::Critical);
      return CompileResult::Failed;
    case Outcome::SettingsFailed:
      Tell(std::string("There was an error while creating your e-book.  Please try again.") +
               kCrLf + kCrLf + text::AsSentence(result.error.reason),
           "Compile Error", Icon::Critical);
      return CompileResult::Failed;
    case Outcome::FileFailed:
      Tell(std::string("Your e-book was not created, because this file could not be added to "
                       "it:") +
               kCrLf + kCrLf + result.failedFile + kCrLf + kCrLf +
               text::AsSentence(result.error.reason),
           "Compile Error", Icon::Critical);
      return CompileResult::Failed;
    case Outcome::BookFailed:
      Tell(std::string("Your e-book was not created, because it could not be written:") + kCrLf +
               kCrLf + inputs.outputPath + kCrLf + kCrLf + text::AsSentence(result.error.reason),
           "Compile Error", Icon::Critical);
      return CompileResult::Failed;
    case Outcome::Unexpected:
      return Unexpected(result.error);
    case Outcome::Done:
      w_.Window().SetMousePointer(ui::MousePointer::Default);
      Tell(std::string("Your e-book has been created.  File saved to:") + kCrLf + kCrLf +
               inputs.outputPath,
           "Compile Finished.", Icon::Information);
      return CompileResult::Done;
  }
  return CompileResult::Failed;
}

CompileResult Build::Unexpected(const Error& error) {
  Tell(std::string("An error has occurred.  Please close this program and try again.") + kCrLf +
           kCrLf + "Number: " + std::to_string(ErrorNumber(error.kind)) + kCrLf +
           text::AsSentence(error.reason),
       Caption());
  return CompileResult::Failed;
}

}  // namespace

BuildSetup DefaultBuildSetup(const Host& host) {
  BuildSetup setup{EngineResourceUpdates(),
                   workspace::AddBackslash(host.programFolder) + "dmsfx.dat",
                   [] { return ChooseBuildDay(std::getenv("SOURCE_DATE_EPOCH"), text::Today); }};
  // Hidden: set by tools/bench-reader, which times the build with and
  // without, tools/bench-build, whose pages are random bytes, and a test
  // that finds the rest of the book unchanged.
  const char* withoutReader = std::getenv("VEXMAR_BUILD_WITHOUT_READER");
  setup.readerEntries = withoutReader == nullptr || *withoutReader == '\0';
  return setup;
}

CompileResult Compile(workspace::FrmMain& window, const BuildSetup& setup) {
  return Build(window, setup).Run();
}

}  // namespace vexmar::build
