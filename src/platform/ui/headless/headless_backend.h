#pragma once
// The control layer without a screen: every control's state in memory. The
// command-line compiler runs the real windows on it, and tests drive and
// inspect them through it.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/form.h"

namespace vexmar::ui {

class HeadlessBackend final : public Backend {
 public:
  std::unique_ptr<FormPeer> CreateForm(Form& owner, const FormDesign& design) override;
  Picture LoadPicture(PictureName name) override;
  Picture LoadPictureFile(const std::string& path) override;
  std::uint32_t ExtendedStyle(NativeHandle window) override;
  void SetExtendedStyle(NativeHandle window, std::uint32_t style) override;
  void RedrawFrame(NativeHandle window) override;
  void Later(std::function<void()> task) override { later_.push_back(std::move(task)); }

  // For tests, as the message loop would: runs the tasks left for later,
  // and those they leave in turn. Returns how many ran.
  int RunLater();

  // For tests: how often a window's frame was redrawn.
  int FrameRedraws(NativeHandle window) const;
  // For tests: what a window looks like beyond its controls.
  struct FormLook {
    Picture skin;  // empty: the plain look
    std::vector<WindowMenuItem> windowMenu;
    bool topMost = false;
  };
  const FormLook* Look(NativeHandle form) const;
  FormLook& LookOf(NativeHandle form);
  // The control that has the keyboard focus, or none.
  NativeHandle FocusedHandle() const { return focused_; }

  // Shared by the peers of this backend.
  NativeHandle NewHandle(std::uint32_t extendedStyle);
  void SetFocused(NativeHandle handle) { focused_ = handle; }

 private:
  struct WindowState {
    std::uint32_t extendedStyle = 0;
    int frameRedraws = 0;
    FormLook look;
  };
  std::map<NativeHandle, WindowState> windows_;
  std::map<PictureName, Picture> pictures_;
  std::deque<std::function<void()>> later_;
  NativeHandle nextHandle_ = 0x1000;
  NativeHandle focused_ = 0;
};

}  // namespace vexmar::ui
