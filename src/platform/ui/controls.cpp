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

TextBox::TextBox(Form& form, ControlDesign design)
    : Control(form, ControlKind::TextBox, std::move(design)),
      peer_(form.Peer().CreateTextBox(*this, Design())) {}

CheckList::CheckList(Form& form, ControlDesign design)
    : Control(form, ControlKind::CheckList, std::move(design)),
      peer_(form.Peer().CreateCheckList(*this, Design())) {}

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

CheckBox::CheckBox(Form& form, ControlDesign design)
    : Control(form, ControlKind::CheckBox, std::move(design)),
      peer_(form.Peer().CreateCheckBox(*this, Design())) {}

void CheckBox::SetValue(int value) {
  if (value < 0 || value > 2 || value == Value()) return;
  peer_->SetValue(value);
  if (onClick) onClick();
}

void CheckBox::ClickByUser() {
  SetValue(Value() == 0 ? 1 : 0);
}

Button::Button(Form& form, ControlDesign design)
    : Control(form, ControlKind::Button, std::move(design)),
      peer_(form.Peer().CreateButton(*this, Design())) {}

void Button::Click() {
  if (onClick) onClick();
}

Label::Label(Form& form, ControlDesign design)
    : Control(form, ControlKind::Label, std::move(design)),
      peer_(form.Peer().CreateLabel(*this, Design())) {}

Image::Image(Form& form, ControlDesign design)
    : Control(form, ControlKind::Image, std::move(design)),
      peer_(form.Peer().CreateImage(*this, Design())) {
  if (Design().picture) SetPicture(form.GetBackend().LoadPicture(*Design().picture));
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

Line::Line(Form& form, ControlDesign design)
    : Control(form, ControlKind::Line, std::move(design)),
      peer_(form.Peer().CreateLine(*this, Design())) {}

Timer::Timer(Form& form, ControlDesign design)
    : design_(std::move(design)), peer_(form.Peer().CreateTimer(*this, design_)) {}

void Timer::Tick() {
  if (onTimer) onTimer();
}

}  // namespace vexmar::ui
