// The main window's skin: the picture it is given, and the window-menu items
// its settings ask for, which turn the skin and "always on top" off and on.
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
  void Choose(const std::string& caption) {
    for (const ui::WindowMenuItem& item : Look().windowMenu) {
      if (item.caption == caption) return form.WindowMenuChosen(item.id);
    }
    ADD_FAILURE() << "no window-menu item " << caption;
  }

  ui::HeadlessBackend backend;
  ui::Form form{backend, ui::FormDesign{}};
  ui::Picture picture = backend.LoadPicture(ui::PictureName::HelpIcon);
  Skin skin;
};

TEST(Skin, APictureSkinsTheWindowAndTheMenuTurnsItOffAndOnAgain) {
  SkinFixture f;
  f.skin.SetPicture(f.picture);
  EXPECT_EQ(f.Look().skin, f.picture);
  EXPECT_TRUE(f.skin.Drawn());
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", false}, {"&Disable Skin", false}}));

  f.Choose("&Disable Skin");
  EXPECT_EQ(f.Look().skin, nullptr);
  EXPECT_FALSE(f.skin.Drawn());
  EXPECT_EQ(f.skin.Picture(), f.picture);  // kept for turning it on again
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", false}, {"&Disable Skin", true}}));

  f.Choose("&Disable Skin");
  EXPECT_EQ(f.Look().skin, f.picture);
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", false}, {"&Disable Skin", false}}));
}

TEST(Skin, AlwaysOnTopTogglesWithItsCheckMarkAndUnknownItemsChangeNothing) {
  SkinFixture f;
  EXPECT_EQ(f.Look().skin, nullptr);
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", false}}));  // no skin item without a picture
  f.Choose("Always on Top");
  EXPECT_TRUE(f.Look().topMost);
  EXPECT_TRUE(f.skin.AlwaysOnTop());
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", true}}));
  f.form.WindowMenuChosen(Skin::kDisableSkinItem);  // no picture: nothing to turn off
  f.form.WindowMenuChosen(99);
  EXPECT_EQ(f.Look().skin, nullptr);
  EXPECT_EQ(f.Items(), (Menu{{"Always on Top", true}}));
  f.Choose("Always on Top");
  EXPECT_FALSE(f.Look().topMost);
}

TEST(Skin, SettingsWithoutTheItemsOfferNoneAndIgnoreTheirIds) {
  SkinFixture f(SkinSettings{false, false, ""});
  f.skin.SetPicture(f.picture);
  EXPECT_TRUE(f.Items().empty());
  f.form.WindowMenuChosen(Skin::kAlwaysOnTopItem);
  EXPECT_FALSE(f.Look().topMost);
  EXPECT_EQ(f.Look().skin, f.picture);
}

}  // namespace
}  // namespace vexmar::help
