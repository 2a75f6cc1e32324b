#include "help/skin.h"

#include <vector>

namespace vexmar::help {

Skin::Skin(ui::Form& form, SkinSettings settings) : form_(form), settings_(std::move(settings)) {
  form_.onWindowMenu = [this](int id) { MenuItemChosen(id); };
  ShowMenu();
}

void Skin::SetPicture(ui::Picture picture) {
  picture_ = std::move(picture);
  disabled_ = false;
  form_.SetSkin(picture_);
  ShowMenu();
}

void Skin::MenuItemChosen(int id) {
  if (id == kAlwaysOnTopItem && settings_.alwaysontopbutton) {
    onTop_ = !onTop_;
    form_.SetTopMost(onTop_);
  } else if (id == kDisableSkinItem && picture_ != nullptr) {
    disabled_ = !disabled_;
    form_.SetSkin(disabled_ ? nullptr : picture_);
  } else {
    return;
  }
  ShowMenu();
}

// The items with their check marks as they stand. The skin's own item is
// offered only while there is a picture to turn off; without one it could
// do nothing. An empty caption asks for no such item.
void Skin::ShowMenu() {
  std::vector<ui::WindowMenuItem> items;
  if (settings_.alwaysontopbutton) items.push_back({kAlwaysOnTopItem, "Always on Top", onTop_});
  if (picture_ != nullptr && !settings_.sysdisableskincaption.empty()) {
    items.push_back({kDisableSkinItem, settings_.sysdisableskincaption, disabled_});
  }
  form_.SetWindowMenu(items);
}

}  // namespace vexmar::help
