#include "platform/ui/controls.h"

#include "platform/ui/form.h"

namespace vexmar::ui {

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
      return "TextBox";
    case ControlKind::CheckList:
      return "ListBox";
    case ControlKind::CheckBox:
      return "CheckBox";
    case ControlKind::Button:
      return "CommandButton";
    case ControlKind::Label:
      return "Label";
    case ControlKind::Image:
      return "Image";
    case ControlKind::Line:
      return "Line";
    case ControlKind::Timer:
      return "Timer";
  }
  return "";
}

void Control::Move(int leftTwips, int topTwips) {
  TwipsRect place = Place();
  place.left = leftTwips;
  place.top = topTwips;
  Peer().SetPlace(place);
}

TextBox::TextBox(Form& form, ControlSpec spec)
    : Control(form, ControlKind::TextBox, std::move(spec)),
      peer_(form.Peer().CreateTextBox(*this, Spec())) {}

CheckList::CheckList(Form& form, ControlSpec spec)
    : Control(form, ControlKind::CheckList, std::move(spec)),
      peer_(form.Peer().CreateCheckList(*this, Spec())) {}

std::string CheckList::Entry(int index) const {
  return index >= 0 && index < Count() ? peer_->Entry(index) : std::string();
}

bool CheckList::Add(const std::string& text) {
  if (Count() >= kMaxEntries) return false;
  peer_->Add(text);
  return true;
}

void CheckList::Clear() {
  ++clearCount_;
  peer_->Clear();
}

bool CheckList::Checked(int index) const {
  return index >= 0 && index < Count() && peer_->Checked(index);
}

void CheckList::SetChecked(int index, bool checked) {
  if (index >= 0 && index < Count()) peer_->SetChecked(index, checked);
}

std::string CheckList::CurrentText() const {
  return Entry(CurrentIndex());
}

void CheckList::DoubleClick() {
  if (onDblClick) onDblClick();
}

CheckBox::CheckBox(Form& form, ControlSpec spec)
    : Control(form, ControlKind::CheckBox, std::move(spec)),
      peer_(form.Peer().CreateCheckBox(*this, Spec())) {}

void CheckBox::SetValue(int value) {
  if (value < 0 || value > 2 || value == Value()) return;
  peer_->SetValue(value);
  if (onClick) onClick();
}

void CheckBox::ClickByUser() {
  SetValue(Value() == 0 ? 1 : 0);
}

void CheckBox::NotifyToggledByUser() {
  if (onClick) onClick();
}

Button::Button(Form& form, ControlSpec spec)
    : Control(form, ControlKind::Button, std::move(spec)),
      peer_(form.Peer().CreateButton(*this, Spec())) {}

void Button::Click() {
  if (onClick) onClick();
}

Label::Label(Form& form, ControlSpec spec)
    : Control(form, ControlKind::Label, std::move(spec)),
      peer_(form.Peer().CreateLabel(*this, Spec())) {}

Image::Image(Form& form, ControlSpec spec)
    : Control(form, ControlKind::Image, std::move(spec)),
      peer_(form.Peer().CreateImage(*this, Spec())) {
  if (Spec().picture) SetPicture(form.GetBackend().LoadPicture(*Spec().picture));
}

void Image::SetPicture(Picture picture) {
  picture_ = std::move(picture);
  peer_->SetPicture(picture_);
}

void Image::MouseDown(MouseButton button) {
  peer_->CaptureMouse(true);
  if (onMouseDown) onMouseDown(button);
}

void Image::MouseUp(MouseButton button) {
  peer_->CaptureMouse(false);
  if (onMouseUp) onMouseUp(button);
}

Line::Line(Form& form, ControlSpec spec)
    : Control(form, ControlKind::Line, std::move(spec)),
      peer_(form.Peer().CreateLine(*this, Spec())) {}

Timer::Timer(Form& form, ControlSpec spec)
    : spec_(std::move(spec)), peer_(form.Peer().CreateTimer(*this, spec_)) {}

void Timer::Tick() {
  if (onTimer) onTimer();
}

}  // namespace vexmar::ui
