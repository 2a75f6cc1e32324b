#pragma once
// The main window's skin: a small skinning layer of our own. It holds the
// settings the window stores for it and one picture; given a picture it has
// the window drawn from it, and it adds its items to the window menu.
#include <string>

#include "platform/ui/form.h"

namespace vexmar::help {

// The stored settings, with the values the main window keeps.
struct SkinSettings {
  bool alwaysontopbutton = true;  // an "Always on Top" item in the window menu
  bool changeskinbutton = false;  // no item for choosing another skin
  std::string sysdisableskincaption = "&Disable Skin";  // turns the skin off and on
};

class Skin {
 public:
  // The window menu items ask for the window's menu at once, as the
  // settings are the skin's from the moment the window is made.
  explicit Skin(ui::Form& form, SkinSettings settings = {});
  Skin(const Skin&) = delete;
  Skin& operator=(const Skin&) = delete;

  const SkinSettings& Settings() const { return settings_; }

  // The picture property: the window is drawn from it at once. An empty
  // picture leaves the window plain.
  void SetPicture(ui::Picture picture);
  const ui::Picture& Picture() const { return picture_; }

  // Whether the window is drawn from the picture now (the author may have
  // turned the skin off from the window menu), and whether it is kept on top.
  bool Drawn() const { return picture_ != nullptr && !disabled_; }
  bool AlwaysOnTop() const { return onTop_; }

  // The window menu's ids of the skin's items.
  static constexpr int kAlwaysOnTopItem = 1;
  static constexpr int kDisableSkinItem = 2;

 private:
  void MenuItemChosen(int id);
  void ShowMenu();

  ui::Form& form_;
  SkinSettings settings_;
  ui::Picture picture_;
  bool disabled_ = false;
  bool onTop_ = false;
};

}  // namespace vexmar::help
