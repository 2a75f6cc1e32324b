#pragma once
// What the windows are given to reach the platform with: the control
// backend, the modal services, the file system and the program's folder.
#include <string>

#include "platform/dialogs/modal_services.h"
#include "platform/fs/file_system.h"
#include "platform/ui/peers.h"

namespace vexmar {

struct Host {
  ui::Backend& ui;
  dialogs::ModalServices& modal;
  fs::FileSystem& files;
  std::string programFolder;  // with a trailing separator
};

}  // namespace vexmar
