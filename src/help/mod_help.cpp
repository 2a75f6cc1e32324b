#include "help/mod_help.h"

#include "help/frm_help.h"
#include "help/help_fields.h"
#include "platform/text/text.h"

namespace vexmar::help {

void ModHelp::LoadHelp(const std::string& path) {
  const Result<std::string> bytes = host_.files.ReadWholeFile(path);
  if (!bytes) return;
  // ANSI text as help files have always been; one saved with the UTF-8 mark
  // (as editors write it) holds any script.
  const std::vector<std::string> fields =
      SplitHelpFields(text::FromAnsiOrMarkedUtf8(bytes.value()));
  helpTexts_ = HelpTextsFromFields(fields, [this] { host_.modal.DoEvents(); });
}

std::string ModHelp::HelpText(int n) const {
  if (!helpTexts_ || n < 1 || static_cast<std::size_t>(n) > helpTexts_->size()) return {};
  return (*helpTexts_)[static_cast<std::size_t>(n) - 1];
}

void ModHelp::ShowHelp(int n, ui::Form& owner) {
  // Each showing starts from a fresh window; closing discards it.
  FrmHelp window(host_.ui);
  window.lblhelp.SetCaption(HelpText(n));
  host_.modal.ShowModal(window.Window(), &owner);
}

}  // namespace vexmar::help
