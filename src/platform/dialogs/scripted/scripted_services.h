#pragma once
// Modal services for tests: answers are queued in advance and every box shown
// is recorded exactly, so a test reads back what the author would have seen.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs/modal_services.h"

namespace vexmar::dialogs {

class ScriptedServices final : public ModalServices {
 public:
  // Queued answers, taken in order. A Yes/No box with no queued answer
  // fails the test's expectations loudly by answering No and recording it.
  std::deque<Answer> answers;
  std::deque<std::string> folders;  // results of BrowseForFolder
  std::deque<std::string> openNames;
  std::deque<std::string> saveNames;
  // Runs once per DoEvents call, in order; lets a test start another command
  // while a long one hands control back to the message loop.
  std::deque<std::function<void()>> pendingEvents;

  struct BrowseCall {
    ui::NativeHandle owner;
    std::string title;
  };
  std::vector<Message> shown;
  std::vector<BrowseCall> browsed;
  std::vector<FileDialog> fileDialogs;
  std::vector<std::string> modalForms;
  int doEventsCalls = 0;
  int unansweredQuestions = 0;

  Answer ShowMessage(const Message& box) override;
  std::string BrowseForFolder(ui::NativeHandle owner, const std::string& title) override;
  std::string ChooseFileToOpen(const FileDialog& dialog) override;
  std::string ChooseFileToSave(const FileDialog& dialog) override;
  void ShowModal(ui::Form& form, ui::Form* owner) override;
  void DoEvents() override;

  // While a window is shown modally, this runs with it (a test's author
  // reading the help and closing it); the default closes it at once.
  std::function<void(ui::Form&)> whileModal;
};

}  // namespace vexmar::dialogs
