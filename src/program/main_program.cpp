#include "program/main_program.h"

#include "help/help_icons.h"
#include "program/lifecycle.h"
#include "settings/new_project.h"
#include "settings/settings_commands.h"

namespace vexmar::program {

MainProgram::MainProgram(Host& host, build::BuildSetup setup, std::function<void()> endProgram)
    : window_(host), help_(host), skin_(window_.Window()), setup_(std::move(setup)) {
  workspace::FrmMain& w = window_;
  w.Window().onLoad = [this] { StartUp(window_, help_, skin_); };
  w.Window().onUnload = std::move(endProgram);
  w.cmdcompile.onClick = [this] { build::Compile(window_, setup_); };
  w.cmdNew.onClick = [this] { settings::NewProject(window_); };
  w.cmdLoadFile.onClick = [this] { settings::OpenSettings(window_); };
  w.cmdSave.onClick = [this] { settings::SaveSettings(window_); };
  w.cmdExit.onClick = [this] { ExitCommand(window_); };
  help::AttachHelpIcons(w, help_);
}

}  // namespace vexmar::program
