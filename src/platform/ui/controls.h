#pragma once
// The controls the windows are made of. Each holds a backend peer (the truth
// of its state lives there) and adds what the windows rely on whatever the
// backend: setting a check box to a new value runs its click reaction, a check
// list's clearing is counted, an image's press keeps the mouse until release.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/peers.h"

namespace vexmar::ui {

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& Name() const { return design_.name; }
  int Index() const { return design_.index; }
  ControlKind Kind() const { return kind_; }
  const char* KindName() const { return ui::KindName(kind_); }
  const ControlDesign& Design() const { return design_; }
  Form& Owner() const { return form_; }

  NativeHandle Handle() const { return Peer().Handle(); }
  bool Visible() const { return Peer().Visible(); }
  void SetVisible(bool visible) { Peer().SetVisible(visible); }
  void SetFocus() { Peer().SetFocus(); }
  bool HasFocus() const { return Peer().HasFocus(); }
  TwipsRect Place() const { return Peer().Place(); }
  // Moves the control's top-left corner, keeping its size.
  void Move(int leftTwips, int topTwips);

 protected:
  Control(Form& form, ControlKind kind, ControlDesign design)
      : form_(form), kind_(kind), design_(std::move(design)) {}
  virtual ControlPeer& Peer() const = 0;

 private:
  Form& form_;
  ControlKind kind_;
  ControlDesign design_;
};

class TextBox final : public Control {
 public:
  TextBox(Form& form, ControlDesign design);
  std::string Text() const { return peer_->Text(); }
  void SetText(const std::string& text) { peer_->SetText(text); }
  Color BackColor() const { return peer_->BackColor(); }
  void SetBackColor(Color color) { peer_->SetBackColor(color); }
  int SelStart() const { return peer_->SelStart(); }
  int SelLength() const { return peer_->SelLength(); }
  // Selects `length` characters from the current selection start.
  void SetSelLength(int length) { peer_->Select(peer_->SelStart(), length); }

 protected:
  ControlPeer& Peer() const override { return *peer_; }

 private:
  std::unique_ptr<TextBoxPeer> peer_;
};

// A list with a check box in front of every entry; an entry's check mark is
// its selected state. Indices are 16-bit, so it holds at most kMaxEntries.
class CheckList final : public Control {
 public:
  static constexpr int kMaxEntries = 32767;

  CheckList(Form& form, ControlDesign design);
  int Count() const { return peer_->Count(); }
  std::string Entry(int index) const;
  // Appends an unchecked entry; false when the list is full.
  bool Add(const std::string& text);
  void Clear();
  bool Checked(int index) const;
  void SetChecked(int index, bool checked);
  int CurrentIndex() const { return peer_->CurrentIndex(); }
  void SetCurrentIndex(int index) { peer_->SetCurrentIndex(index); }
  // The text of the current entry, empty when there is none.
  std::string CurrentText() const;
  void Repaint() { peer_->Repaint(); }

  // How often the list has been emptied, by any command. A long fill that
  // lets other commands run between entries compares it to see whether the
  // list it is filling is still its own.
  unsigned ClearCount() const { return clearCount_; }

  // Reaction to a double-click on an entry (the backend makes it current).
  std::function<void()> onDblClick;
  void DoubleClick();

 protected:
  ControlPeer& Peer() const override { return *peer_; }

 private:
  std::unique_ptr<CheckListPeer> peer_;
  unsigned clearCount_ = 0;
};

// A check box with the values 0 (unchecked), 1 (checked) and 2 (grayed). Its
// click reaction runs whenever its value changes, whether the author clicked
// it or a command set it.
class CheckBox final : public Control {
 public:
  CheckBox(Form& form, ControlDesign design);
  int Value() const { return peer_->Value(); }
  void SetValue(int value);
  std::function<void()> onClick;

  // The author's click: unchecked becomes checked, checked or grayed becomes
  // unchecked.
  void ClickByUser();

 protected:
  ControlPeer& Peer() const override { return *peer_; }

 private:
  std::unique_ptr<CheckBoxPeer> peer_;
};

class Button final : public Control {
 public:
  Button(Form& form, ControlDesign design);
  std::string Caption() const { return peer_->Caption(); }
  std::function<void()> onClick;
  void Click();

 protected:
  ControlPeer& Peer() const override { return *peer_; }

 private:
  std::unique_ptr<CaptionPeer> peer_;
};

class Label final : public Control {
 public:
  Label(Form& form, ControlDesign design);
  std::string Caption() const { return peer_->Caption(); }
  void SetCaption(const std::string& caption) { peer_->SetCaption(caption); }

 protected:
  ControlPeer& Peer() const override { return *peer_; }

 private:
  std::unique_ptr<CaptionPeer> peer_;
};

// An image with a tag, a picture and a switchable single-line border. A
// press keeps the mouse until the release, so the release reaction belongs
// to the image pressed, wherever the pointer is then.
class Image final : public Control {
 public:
  Image(Form& form, ControlDesign design);
  const std::string& Tag() const { return Design().tag; }
  const Picture& GetPicture() const { return picture_; }
  void SetPicture(Picture picture);
  bool Border() const { return peer_->Border(); }
  void SetBorder(bool single) { peer_->SetBorder(single); }

  std::function<void(MouseButton)> onMouseDown;
  std::function<void(MouseButton)> onMouseUp;
  void MouseDown(MouseButton button);
  void MouseUp(MouseButton button);

 protected:
  ControlPeer& Peer() const override { return *peer_; }

 private:
  std::unique_ptr<ImagePeer> peer_;
  Picture picture_;
};

class Line final : public Control {
 public:
  Line(Form& form, ControlDesign design);

 protected:
  ControlPeer& Peer() const override { return *peer_; }

 private:
  std::unique_ptr<ControlPeer> peer_;
};

// A timer belongs to its window but is no control of the window's collection.
class Timer {
 public:
  Timer(Form& form, ControlDesign design);
  const std::string& Name() const { return design_.name; }
  void SetEnabled(bool enabled) { peer_->SetEnabled(enabled); }
  std::function<void()> onTimer;
  void Tick();

 private:
  ControlDesign design_;
  std::unique_ptr<TimerPeer> peer_;
};

}  // namespace vexmar::ui
