#include "cli/console_program.h"

#include <filesystem>
#include <iostream>

#include "platform/fs/file_system.h"

namespace vexmar::cli {

ConsoleProgram::ConsoleProgram(bool assumeYes, const std::string& stubPath,
                               std::optional<build::IconResources> icon)
    : modal_({assumeYes, dialogs::StandardInputIsTerminal()}, std::cerr, std::cin),
      host_{backend_, modal_, fs::RealFileSystem(), fs::ProgramFolder()} {
  build::BuildSetup setup = build::DefaultBuildSetup(host_);
  if (!stubPath.empty()) setup.stubPath = AbsolutePath(stubPath);
  setup.icon = std::move(icon);
  program_ = std::make_unique<program::MainProgram>(host_, std::move(setup), [] {});
  program_->Window().Window().Show();
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute =
      std::filesystem::absolute(std::filesystem::u8path(path), error);
  return error ? path : absolute.lexically_normal().u8string();
}

}  // namespace vexmar::cli
