#pragma once
// The pop-up help window, frmhelp: a heading, one help text and a button to
// close it. Each showing creates a fresh window.
#include "platform/ui/form.h"

namespace vexmar::help {

class FrmHelp {
 public:
  explicit FrmHelp(ui::Backend& backend);
  FrmHelp(const FrmHelp&) = delete;
  FrmHelp& operator=(const FrmHelp&) = delete;

  ui::Form& Window() { return form_; }

 private:
  ui::Form form_;

 public:
  // A picture box without a picture is an opaque area of its own colour;
  // the other controls lie on it.
  ui::Label& picpophelp;
  ui::Image& Image1;
  ui::Label& Label1;
  ui::Line& Line1;
  ui::Label& lblhelp;
  ui::Button& Command1;
};

}  // namespace vexmar::help
