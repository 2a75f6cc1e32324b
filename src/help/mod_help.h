#pragma once
// The pop-up help: the texts read once from help.txt, and the window that
// shows one of them.
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/ui/form.h"

namespace vexmar::help {

class ModHelp {
 public:
  explicit ModHelp(Host& host) : host_(host) {}

  // Reads help.txt (ANSI text) into the help texts, letting pending window
  // messages run after every record. An unreadable file leaves no texts.
  void LoadHelp(const std::string& path);

  // Shows help text n in a fresh help window, modal to `owner`; returns when
  // the window has closed. A number outside the texts, or no texts at all,
  // opens the window with an empty text area.
  void ShowHelp(int n, ui::Form& owner);

  // Help text n, counting from 1; empty outside the texts.
  std::string HelpText(int n) const;
  // Absent until LoadHelp has read a file.
  const std::optional<std::vector<std::string>>& HelpTexts() const { return helpTexts_; }

 private:
  Host& host_;
  std::optional<std::vector<std::string>> helpTexts_;
};

}  // namespace vexmar::help
