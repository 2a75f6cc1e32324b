// The main window's window-menu items its settings ask for, which turn "always
// on top" and the skin off and on (the skin's own toggle: win32_splash_and_skin_test).
#include <gtest/gtest.h>

#include <vector>

#include "help/skin.h"
#include "platform/ui/headless/headless_backend.h"

namespace vexmar::help {
namespace {

using Menu = std::vector<std::pair<std::string, bool>>;

struct SkinFixture {
  explicit SkinFixture(SkinSettings settings = {}) : skin(form, std::move(settings)) {}
  const ui::HeadlessBackend::FormLook& Look() const { return *backend.Look(form.Handle()); }
  Menu Items() const {
    Menu items;
    for (const ui::WindowMenuItem& item : Look().windowMenu)
      items.emplace_back(item.caption, item.checked);
    return items;
  }

  ui::HeadlessBackend backend;
  ui::Form form{backend, ui::FormDesign{}};
  ui::Picture picture = backend.LoadPicture(ui::PictureName::HelpIcon);
  Skin skin;
};

TEST(Skin, AlwaysOnTopTogglesWithItsCheckMarkAndUnknownItemsChangeNothing) {
  SkinFixture f;
  EXPECT_EQ(f.Look().skin, nullptr);
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", false}}));  // no skin item without a picture
  f.form.WindowMenuChosen(Skin::kAlwaysOnTopItem);
  EXPECT_TRUE(f.Look().topMost);
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", true}}));
  f.form.WindowMenuChosen(Skin::kDisableSkinItem);  // no picture: nothing to turn off
  f.form.WindowMenuChosen(99);
  EXPECT_EQ(f.Look().skin, nullptr);
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", true}}));
  f.form.WindowMenuChosen(Skin::kAlwaysOnTopItem);
  EXPECT_FALSE(f.Look().topMost);
  f.skin.SetPicture(f.picture);
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", false}, {"&Disable Skin", false}}));

  SkinFixture none(SkinSettings{false, false, ""});  // settings without the items
  none.skin.SetPicture(none.picture);
  EXPECT_TRUE(none.Items().empty());
  none.form.WindowMenuChosen(Skin::kAlwaysOnTopItem);
  EXPECT_FALSE(none.Look().topMost);
  EXPECT_EQ(none.Look().skin, none.picture);
}

}  // namespace
}  // namespace vexmar::help
