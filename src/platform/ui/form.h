#pragma once
// A window and its controls. The controls are kept in the window's control
// order (the order commands that visit "every control" go through them);
// the keyboard order is set apart from it.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/controls.h"

namespace vexmar::ui {

enum class FormBorder { FixedDialog, FixedToolWindow, None };

// Where the window first appears: centred on the screen, centred over the
// window that shows it modally, or where the window's own load puts it.
enum class StartPosition { CenterScreen, CenterOwner, Manual };

struct FormDesign {
  std::string name;
  std::string caption;
  int clientWidth = 0;  // twips
  int clientHeight = 0;
  FormBorder border = FormBorder::FixedDialog;
  FontDesign font{"Verdana", 8.25, false};
  bool showInTaskbar = true;
  std::optional<PictureName> icon;
  std::optional<Color> backColor;  // the system's window colour when empty
  bool infoBackground = false;     // the system's tool-tip background colour
  StartPosition startPosition = StartPosition::CenterScreen;
};

class Form {
 public:
  Form(Backend& backend, FormDesign design);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  const std::string& Name() const { return design_.name; }
  const FormDesign& Design() const { return design_; }
  Backend& GetBackend() const { return backend_; }
  FormPeer& Peer() const { return *peer_; }

  NativeHandle Handle() const { return peer_->Handle(); }
  std::string Caption() const { return peer_->Caption(); }
  void SetCaption(const std::string& caption) { peer_->SetCaption(caption); }
  MousePointer GetMousePointer() const { return peer_->GetMousePointer(); }
  void SetMousePointer(MousePointer pointer) { peer_->SetMousePointer(pointer); }
  bool Visible() const { return peer_->Visible(); }
  TwipsRect ClientPlace() const { return peer_->ClientPlace(); }
  void SetClientSize(int widthTwips, int heightTwips) {
    peer_->SetClientSize(widthTwips, heightTwips);
  }
  void MoveTo(double leftTwips, double topTwips) { peer_->MoveTo(leftTwips, topTwips); }
  TwipsRect ScreenSize() const { return peer_->ScreenSize(); }
  void SetSkin(const Picture& picture) { peer_->SetSkin(picture); }
  void SetWindowMenu(const std::vector<WindowMenuItem>& items) { peer_->SetWindowMenu(items); }
  void SetTopMost(bool topMost) { peer_->SetTopMost(topMost); }

  // Creates a control in the window; it comes last in the control order.
  template <typename T>
  T& Add(ControlDesign design) {
    auto control = std::make_unique<T>(*this, std::move(design));
    T& ref = *control;
    controls_.push_back(std::move(control));
    return ref;
  }
  Timer& AddTimer(ControlDesign design);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  Control& ControlAt(int index) const { return *controls_[static_cast<std::size_t>(index)]; }
  Control* Find(const std::string& name, int index = -1) const;

  void SetTabOrder(const std::vector<Control*>& order);

  // The first showing loads the window: its load reaction runs before it
  // becomes visible.
  void Show();
  bool Loaded() const { return loaded_; }
  void Hide() { peer_->Hide(); }
  // Closes the window as its close box would; the unload reaction runs.
  void Close() { peer_->Close(); }

  std::function<void()> onLoad;
  std::function<void()> onUnload;
  // The reaction to an item the program added to the window menu.
  std::function<void(int id)> onWindowMenu;
  void WindowMenuChosen(int id) {
    if (onWindowMenu) onWindowMenu(id);
  }
  // Backends call this when the window closes, by whatever means.
  void NotifyClosed();
  bool Closed() const { return closed_; }

 private:
  Backend& backend_;
  FormDesign design_;
  std::unique_ptr<FormPeer> peer_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
  bool loaded_ = false;
  bool closed_ = false;
};

}  // namespace vexmar::ui
