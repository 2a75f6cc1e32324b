#pragma once
// The program without a screen: the real main window and its commands on
// the headless backend, with message boxes on standard error.
#include <memory>
#include <optional>
#include <string>

#include "build/build_command.h"
#include "platform/dialogs/console/console_services.h"
#include "platform/host.h"
#include "platform/ui/headless/headless_backend.h"
#include "program/main_program.h"

namespace vexmar::cli {

class ConsoleProgram {
 public:
  // `stubPath` empty: dmsfx.dat beside this program.
  // `icon`, when given, becomes every book's icon.
  ConsoleProgram(bool assumeYes, const std::string& stubPath = "",
                 std::optional<build::IconResources> icon = {});

  workspace::FrmMain& Window() { return program_->Window(); }
  dialogs::ConsoleServices& Dialogs() { return modal_; }
  const build::BuildSetup& Setup() const { return program_->Setup(); }

 private:
  ui::HeadlessBackend backend_;
  dialogs::ConsoleServices modal_;
  Host host_;
  std::unique_ptr<program::MainProgram> program_;
};

// An absolute path for a path typed on the command line, as the folder
// browser and the file dialogs give them.
std::string AbsolutePath(const std::string& path);

}  // namespace vexmar::cli
