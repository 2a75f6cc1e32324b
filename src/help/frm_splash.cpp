#include "help/frm_splash.h"

namespace vexmar::help {
namespace {

ui::FormDesign SplashWindowDesign() {
  ui::FormDesign design;
  design.name = "frmSplash";
  design.caption = "Starting...";
  design.border = ui::FormBorder::None;
  design.showInTaskbar = false;
  design.backColor = ui::kWindowWhite;
  // The load puts the window in the middle of the screen itself.
  design.startPosition = ui::StartPosition::Manual;
  return design;
}

ui::ControlDesign SplashLabel() {
  ui::ControlDesign design;
  design.name = "lblSplash";
  design.font = ui::FontDesign{"MS Sans Serif", 9.75, true};
  return design;  // sizes itself to its text, transparent on the white window
}

ui::ControlDesign SplashTimer() {
  ui::ControlDesign design;
  design.name = "Timer1";
  design.timerIntervalMs = kSplashMs;
  return design;
}

}  // namespace

FrmSplash::FrmSplash(ui::Backend& backend, std::function<void()> showMainWindow,
                     std::function<void()> endProgram, std::function<void()> discard)
    : form_(backend, SplashWindowDesign()),
      showMainWindow_(std::move(showMainWindow)),
      endProgram_(std::move(endProgram)),
      discard_(std::move(discard)),
      lblSplash(form_.Add<ui::Label>(SplashLabel())),
      Timer1(form_.AddTimer(SplashTimer())) {
  form_.onLoad = [this] { Load(); };
  Timer1.onTimer = [this] { Tick(); };
  form_.onUnload = [this] { Unload(); };
}

// The window is the label: the text decides its size, and it is centred on
// the screen in twips, fractions kept until the backend rounds to pixels.
// The showing that loaded the window shows it next, not modal.
void FrmSplash::Load() {
  lblSplash.SetCaption(kSplashText);
  lblSplash.Move(0, 0);
  const ui::TwipsRect label = lblSplash.Place();
  form_.SetClientSize(label.width, label.height);
  const ui::TwipsRect screen = form_.ScreenSize();
  form_.MoveTo((screen.width - label.width) / 2.0, (screen.height - label.height) / 2.0);
}

// The first tick is the only one: the main window's first showing runs its
// start-up while the splash is still on the screen, then the splash goes.
void FrmSplash::Tick() {
  if (handedOver_ || form_.Closed()) return;
  Timer1.SetEnabled(false);
  handedOver_ = true;
  if (showMainWindow_) showMainWindow_();
  form_.Close();
}

// Nothing of the splash is kept: its timer stops and its instance is
// discarded once this event is over. A splash closed before it handed over
// was the program's only window.
void FrmSplash::Unload() {
  Timer1.SetEnabled(false);
  if (!handedOver_ && endProgram_) endProgram_();
  if (discard_) form_.GetBackend().Later(discard_);
}

}  // namespace vexmar::help
