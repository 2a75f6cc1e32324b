#include "workspace/mod_main.h"

#include <cstring>

namespace vexmar::workspace {

bool FileExists(fs::FileSystem& files, const std::string& path) {
  return !files.ListNormalFiles(path)->Next().empty();
}

std::string AddBackslash(const std::string& path) {
  const char separator = fs::PathSeparator();
  if (!path.empty() && path.back() == separator) return path;
  return path + separator;
}

std::string BrowseForFolder(dialogs::ModalServices& modal, ui::NativeHandle owner,
                            const std::string& title) {
  return modal.BrowseForFolder(owner, title);
}

void SetFlatBorder(ui::Backend& backend, ui::NativeHandle window, bool flat) {
  std::uint32_t style = backend.ExtendedStyle(window);
  if (flat) {
    style = (style & ~ui::kExClientEdge) | ui::kExStaticEdge;
  } else {
    style = (style & ~ui::kExStaticEdge) | ui::kExClientEdge;
  }
  backend.SetExtendedStyle(window, style);
  backend.RedrawFrame(window);
}

void FlattenControls(ui::Form& form) {
  const int count = form.ControlCount();
  for (int i = 0; i < count; ++i) {
    const ui::Control& control = form.ControlAt(i);
    const char* kind = control.KindName();
    if (std::strcmp(kind, "ListBox") == 0 || std::strcmp(kind, "TextBox") == 0) {
      SetFlatBorder(form.GetBackend(), control.Handle(), true);
    }
  }
}

}  // namespace vexmar::workspace
