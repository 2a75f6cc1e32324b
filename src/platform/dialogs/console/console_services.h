#pragma once
// Modal services of the command-line compiler: message boxes print to
// standard error as title and text; a Yes/No question is answered by
// --yes, or asked on the terminal, and is No when there is neither.
#include <deque>
#include <iosfwd>
#include <string>

#include "platform/dialogs/modal_services.h"

namespace vexmar::dialogs {

class ConsoleServices final : public ModalServices {
 public:
  struct Options {
    bool assumeYes = false;
    bool interactive = false;  // standard input is a terminal
  };
  ConsoleServices(Options options, std::ostream& out, std::istream& in);

  // What the dialogs "choose", given on the command line.
  std::deque<std::string> folders;
  std::deque<std::string> openNames;
  std::deque<std::string> saveNames;

  Answer ShowMessage(const Message& box) override;
  std::string BrowseForFolder(ui::NativeHandle owner, const std::string& title) override;
  std::string ChooseFileToOpen(const FileDialog& dialog) override;
  std::string ChooseFileToSave(const FileDialog& dialog) override;
  void ShowModal(ui::Form& form, ui::Form* owner) override;
  void DoEvents() override {}

 private:
  Options options_;
  std::ostream& out_;
  std::istream& in_;
};

// True when standard input is a terminal a person can answer at.
bool StandardInputIsTerminal();

}  // namespace vexmar::dialogs
