#pragma once
// The program as an author meets it: the main window with the reactions of
// every subsystem attached. The Windows program and the command-line
// compiler both run this, so they cannot drift apart.
#include <functional>

#include "build/build_command.h"
#include "help/mod_help.h"
#include "help/skin.h"
#include "platform/host.h"
#include "workspace/frm_main.h"

namespace vexmar::program {

class MainProgram {
 public:
  // `endProgram` runs when the main window closes, by whatever means; the
  // program ends there at once.
  MainProgram(Host& host, build::BuildSetup setup, std::function<void()> endProgram);
  MainProgram(const MainProgram&) = delete;
  MainProgram& operator=(const MainProgram&) = delete;

  workspace::FrmMain& Window() { return window_; }
  help::ModHelp& Help() { return help_; }
  help::Skin& GetSkin() { return skin_; }
  const build::BuildSetup& Setup() const { return setup_; }

 private:
  workspace::FrmMain window_;
  help::ModHelp help_;
  help::Skin skin_;
  build::BuildSetup setup_;
};

}  // namespace vexmar::program
