#pragma once
// The backend side of every control. A backend (headless, Win32) implements
// these; the shared control classes hold one peer each and add the behaviour
// the windows rely on, so that behaviour exists once for every backend.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control_design.h"

namespace vexmar::ui {

class Button;
class CheckBox;
class CheckList;
class Control;
class Form;
class Image;
class Label;
class Line;
class TextBox;
class Timer;
struct FormDesign;

// An item the program adds to a window's window menu (the system menu).
struct WindowMenuItem {
  int id = 0;  // small and positive; reported back when the item is chosen
  std::string caption;
  bool checked = false;
};

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual NativeHandle Handle() const = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetFocus() = 0;
  virtual bool HasFocus() const = 0;
  // The control's actual place in twips: a label that sizes itself to its
  // caption reports the size it took. Setting a place moves the control; a
  // self-sizing label keeps its own size and takes only the corner.
  virtual TwipsRect Place() const = 0;
  virtual void SetPlace(const TwipsRect& place) = 0;
};

class TextBoxPeer : public ControlPeer {
 public:
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual Color BackColor() const = 0;
  virtual void SetBackColor(Color color) = 0;
  virtual int SelStart() const = 0;
  virtual int SelLength() const = 0;
  virtual void Select(int start, int length) = 0;
};

class CheckListPeer : public ControlPeer {
 public:
  virtual int Count() const = 0;
  virtual std::string Entry(int index) const = 0;
  virtual void Add(const std::string& text) = 0;
  virtual void Clear() = 0;
  virtual bool Checked(int index) const = 0;
  virtual void SetChecked(int index, bool checked) = 0;
  virtual int CurrentIndex() const = 0;  // -1 when there is none
  virtual void SetCurrentIndex(int index) = 0;
  virtual void Repaint() = 0;
};

class CheckBoxPeer : public ControlPeer {
 public:
  virtual int Value() const = 0;  // 0 unchecked, 1 checked, 2 grayed
  virtual void SetValue(int value) = 0;
};

class CaptionPeer : public ControlPeer {
 public:
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
};

class ImagePeer : public ControlPeer {
 public:
  virtual void SetPicture(const Picture& picture) = 0;
  virtual void SetBorder(bool single) = 0;
  virtual bool Border() const = 0;
  // While a button is held after a press, the image keeps the mouse, so the
  // release reaches it wherever the pointer is.
  virtual void CaptureMouse(bool capture) = 0;
};

class TimerPeer {
 public:
  virtual ~TimerPeer() = default;
  virtual void SetEnabled(bool enabled) = 0;
};

class FormPeer {
 public:
  virtual ~FormPeer() = default;
  virtual NativeHandle Handle() const = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual bool Visible() const = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void Close() = 0;  // as the close box does: the owner's unload runs
  virtual void SetMousePointer(MousePointer pointer) = 0;
  virtual MousePointer GetMousePointer() const = 0;
  // The client area's size in twips, and its place on the screen.
  virtual TwipsRect ClientPlace() const = 0;
  virtual void SetClientSize(int widthTwips, int heightTwips) = 0;
  // Twips may be fractions; the backend rounds once, to its own pixels.
  virtual void MoveTo(double leftTwips, double topTwips) = 0;
  virtual TwipsRect ScreenSize() const = 0;

  // The window's look from a skin picture: its client background drawn
  // from the picture, with labels and check boxes transparent over it. An
  // empty picture gives the plain look back.
  virtual void SetSkin(const Picture& picture) = 0;
  // Replaces the items the program added to the window menu; choosing one
  // reaches Form::WindowMenuChosen with its id.
  virtual void SetWindowMenu(const std::vector<WindowMenuItem>& items) = 0;
  // Keeps the window above every window that is not kept on top itself.
  virtual void SetTopMost(bool topMost) = 0;

  virtual std::unique_ptr<TextBoxPeer> CreateTextBox(TextBox& owner,
                                                     const ControlDesign& design) = 0;
  virtual std::unique_ptr<CheckListPeer> CreateCheckList(CheckList& owner,
                                                         const ControlDesign& design) = 0;
  virtual std::unique_ptr<CheckBoxPeer> CreateCheckBox(CheckBox& owner,
                                                       const ControlDesign& design) = 0;
  virtual std::unique_ptr<CaptionPeer> CreateButton(Button& owner, const ControlDesign& design) = 0;
  virtual std::unique_ptr<CaptionPeer> CreateLabel(Label& owner, const ControlDesign& design) = 0;
  virtual std::unique_ptr<ImagePeer> CreateImage(Image& owner, const ControlDesign& design) = 0;
  virtual std::unique_ptr<ControlPeer> CreateLine(Line& owner, const ControlDesign& design) = 0;
  virtual std::unique_ptr<TimerPeer> CreateTimer(Timer& owner, const ControlDesign& design) = 0;

  // Keyboard order: Tab moves through these controls in this order.
  virtual void SetTabOrder(const std::vector<Control*>& order) = 0;
};

// Extended window-style bits, with Windows' values, for the flat look.
inline constexpr std::uint32_t kExClientEdge = 0x200;
inline constexpr std::uint32_t kExStaticEdge = 0x20000;

class Backend {
 public:
  virtual ~Backend() = default;
  virtual std::unique_ptr<FormPeer> CreateForm(Form& owner, const FormDesign& design) = 0;
  virtual Picture LoadPicture(PictureName name) = 0;
  // A picture file (a bitmap); empty when the file is missing or no picture.
  virtual Picture LoadPictureFile(const std::string& path) = 0;

  // The window-style calls the flat look is made of, by window handle; an
  // unknown handle reads as 0 and ignores writes.
  virtual std::uint32_t ExtendedStyle(NativeHandle window) = 0;
  virtual void SetExtendedStyle(NativeHandle window, std::uint32_t style) = 0;
  // Recomputes and redraws the window's frame, keeping place, size, z-order
  // and activation.
  virtual void RedrawFrame(NativeHandle window) = 0;

  // Runs `task` after the event being handled now is over, from the message
  // loop. A window that closes from one of its own events is discarded so:
  // its instance cannot go while its own reaction still runs.
  virtual void Later(std::function<void()> task) = 0;
};

}  // namespace vexmar::ui
