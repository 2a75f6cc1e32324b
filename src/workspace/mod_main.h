#pragma once
// The shared routines of the main window's commands: a file-existence test,
// the folder-text helper, the shell's folder browser, and the flat look of
// the window's text boxes and lists.
#include <string>

#include "platform/dialogs/modal_services.h"
#include "platform/fs/file_system.h"
#include "platform/ui/form.h"

namespace vexmar::workspace {

// True when the lookup finds a normal file: the same lookup as the folder
// scan, so hidden and system files and folders do not count, and a path with
// wildcards is true when any normal file matches.
bool FileExists(fs::FileSystem& files, const std::string& path);

// The text with the platform's folder separator at its end (unchanged when
// it has one). An empty text gives the separator alone, one character: the
// folder commands take a result that short as "no folder chosen".
std::string AddBackslash(const std::string& path);

// The chosen folder's path without a trailing separator (a drive root keeps
// its own), or an empty text when the author cancels.
std::string BrowseForFolder(dialogs::ModalServices& modal, ui::NativeHandle owner,
                            const std::string& title);

// Gives a control window a thin flat edge (flat) or the sunken one (not flat).
void SetFlatBorder(ui::Backend& backend, ui::NativeHandle window, bool flat);

// The flat edge for every text box and list of the window, hidden ones included.
void FlattenControls(ui::Form& form);

}  // namespace vexmar::workspace
