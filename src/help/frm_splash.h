#pragma once
// The splash window, frmSplash: one line of text in the middle of the
// screen, in a white window without a frame that is exactly the text's size.
// Its timer hands over to the main window and closes the splash.
#include <functional>

#include "platform/ui/form.h"

namespace vexmar::help {

inline constexpr char kSplashText[] = "Vexmar E-book Compiler is getting your workbench ready...";
inline constexpr int kSplashMs = 2500;

class FrmSplash {
 public:
  // `showMainWindow` runs at the tick, before the splash closes; `endProgram`
  // runs when the splash closes before its tick (nothing else is open then).
  // `discard` destroys this instance; the unload leaves it for after its
  // own event, through the backend.
  FrmSplash(ui::Backend& backend, std::function<void()> showMainWindow,
            std::function<void()> endProgram, std::function<void()> discard = nullptr);
  FrmSplash(const FrmSplash&) = delete;
  FrmSplash& operator=(const FrmSplash&) = delete;

  ui::Form& Window() { return form_; }
  // Whether the tick has handed over to the main window.
  bool HandedOver() const { return handedOver_; }

 private:
  void Load();
  void Tick();
  void Unload();

  ui::Form form_;
  std::function<void()> showMainWindow_;
  std::function<void()> endProgram_;
  std::function<void()> discard_;
  bool handedOver_ = false;

 public:
  ui::Label& lblSplash;
  ui::Timer& Timer1;
};

}  // namespace vexmar::help
