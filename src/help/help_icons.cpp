#include "help/help_icons.h"

#include <charconv>

namespace vexmar::help {
namespace {

// The icon's tag is its help number; a tag that is no number opens no help.
bool HelpNumber(const std::string& tag, int& n) {
  const char* end = tag.data() + tag.size();
  const auto [ptr, ec] = std::from_chars(tag.data(), end, n);
  return ec == std::errc() && ptr == end && n >= -32768 && n <= 32767;
}

}  // namespace

void AttachHelpIcons(workspace::FrmMain& window, ModHelp& help) {
  for (ui::Image* icon : window.imghelp) {
    icon->onMouseDown = [icon](ui::MouseButton) { icon->SetBorder(true); };
    icon->onMouseUp = [icon, &window, &help](ui::MouseButton) {
      icon->SetBorder(false);
      int n = 0;
      if (HelpNumber(icon->Tag(), n)) help.ShowHelp(n, window.Window());
    };
  }
}

}  // namespace vexmar::help
