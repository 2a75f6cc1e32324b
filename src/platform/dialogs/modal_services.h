#pragma once
// Everything modal the windows ask of the platform: message boxes, the folder
// browser, the open and save dialogs, showing a window modally, and letting
// pending window messages run. Implemented for Win32 (real dialogs), for the
// console (the command-line compiler) and scripted (tests).
#include <string>

#include "platform/ui/geometry.h"

namespace vexmar::ui {
class Form;
}

namespace vexmar::dialogs {

enum class Buttons { Ok, YesNo };
enum class Icon { None, Information, Question, Critical };
enum class Answer { Ok, Yes, No };

struct Message {
  std::string text;  // lines separated by CR LF
  std::string title;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  ui::NativeHandle owner = 0;
};

struct FileDialog {
  std::string title;
  // Description and pattern separated by "|", as in "Settings File|*.ebc".
  std::string filter;
  ui::NativeHandle owner = 0;
};

class ModalServices {
 public:
  virtual ~ModalServices() = default;
  virtual Answer ShowMessage(const Message& box) = 0;
  // The shell's folder browser (file-system folders only). The chosen
  // folder's full path without a trailing separator (a drive root keeps its
  // own), or an empty text when the author cancels or no path comes back.
  virtual std::string BrowseForFolder(ui::NativeHandle owner, const std::string& title) = 0;
  // The chosen file's name, or an empty text when the author cancels.
  virtual std::string ChooseFileToOpen(const FileDialog& dialog) = 0;
  virtual std::string ChooseFileToSave(const FileDialog& dialog) = 0;
  // Shows the window and returns when it has closed; its owner takes no
  // input meanwhile.
  virtual void ShowModal(ui::Form& form, ui::Form* owner) = 0;
  // Lets pending window messages (repaint, input) run, so other commands of
  // the window may run before this returns.
  virtual void DoEvents() = 0;
};

}  // namespace vexmar::dialogs
