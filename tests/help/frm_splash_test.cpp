// The splash window handing over to the main window at its tick, and ending
// the program when it is closed before that (its geometry: win32_splash_and_skin_test).
#include <gtest/gtest.h>

#include <memory>

#include "help/frm_splash.h"
#include "platform/ui/headless/headless_backend.h"

namespace vexmar::help {
namespace {

struct SplashFixture {
  SplashFixture() { splash.Window().Show(); }
  ui::HeadlessBackend backend;
  int mainShown = 0, ended = 0;
  bool visibleAtHandOver = false;
  FrmSplash splash{backend,
                   [this] {
                     ++mainShown;
                     visibleAtHandOver = splash.Window().Visible();
                   },
                   [this] { ++ended; }};
};

TEST(Splash, HandsOverOnceAtTheTickOrEndsTheProgramWhenClosedBefore) {
  SplashFixture f;
  EXPECT_EQ(f.mainShown, 0);
  f.splash.Timer1.Tick();
  f.splash.Timer1.Tick();
  EXPECT_EQ(f.mainShown, 1);
  EXPECT_TRUE(f.visibleAtHandOver);  // no moment without a window
  EXPECT_TRUE(f.splash.Window().Closed());
  EXPECT_EQ(f.ended, 0);  // the main window carries the program on

  SplashFixture closed;
  closed.splash.Window().Close();
  closed.splash.Timer1.Tick();  // a tick already on its way when the splash closed
  EXPECT_EQ(closed.ended, 1);
  EXPECT_EQ(closed.mainShown, 0);
}

// Destroying the splash inside its own unload would run the rest of the
// event on freed memory; the discard waits for the backend's next turn.
TEST(Splash, ItsInstanceIsDiscardedOnceItsUnloadIsOver) {
  ui::HeadlessBackend backend;
  bool stillThereDuringUnload = false;
  std::unique_ptr<FrmSplash> splash;
  splash = std::make_unique<FrmSplash>(
      backend, [] {}, [] {}, [&splash] { splash.reset(); });
  splash->Window().onUnload = [&, unload = splash->Window().onUnload] {
    unload();
    stillThereDuringUnload = splash != nullptr;
  };
  splash->Window().Show();
  splash->Timer1.Tick();
  EXPECT_TRUE(stillThereDuringUnload);
  EXPECT_EQ(backend.RunLater(), 1);
  EXPECT_EQ(splash, nullptr);
}

}  // namespace
}  // namespace vexmar::help
