// Timers: SetTimer on the window that owns them.
#include "platform/ui/win32/win32_controls.h"

namespace vexmar::ui::win32 {

// A timer with an interval runs from the moment its window is loaded, so the
// ticks that come before the window's first showing are not delivered; a tick
// that arrives while the previous one still runs (its reaction let messages
// run) is dropped rather than nested.
class Win32Timer final : public TimerPeer {
 public:
  Win32Timer(Win32Form& form, Timer& owner, const ControlDesign& design)
      : form_(form),
        owner_(owner),
        interval_(design.timerIntervalMs > 0 ? design.timerIntervalMs : 0) {
    id_ = form_.RegisterTimer(*this);
    SetEnabled(interval_ > 0);
  }
  Win32Timer(const Win32Timer&) = delete;
  Win32Timer& operator=(const Win32Timer&) = delete;
  ~Win32Timer() override { form_.UnregisterTimer(id_); }

  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    KillTimer(form_.Window(), id_);
    if (enabled && interval_ > 0) {
      SetTimer(form_.Window(), id_, static_cast<UINT>(interval_), nullptr);
    }
  }

  // The window's first showing: the interval counts from now.
  void Restart() { SetEnabled(enabled_); }

  void Fired() {
    if (running_ || !form_.Loaded()) return;
    running_ = true;
    owner_.Tick();
    running_ = false;
  }

 private:
  Win32Form& form_;
  Timer& owner_;
  int interval_;
  UINT_PTR id_ = 0;
  bool enabled_ = false;
  bool running_ = false;
};

std::unique_ptr<TimerPeer> MakeTimer(Win32Form& form, Timer& owner, const ControlDesign& design) {
  return std::make_unique<Win32Timer>(form, owner, design);
}

void TimerFired(Win32Timer& timer) {
  timer.Fired();
}
void TimerLoaded(Win32Timer& timer) {
  timer.Restart();
}

}  // namespace vexmar::ui::win32
