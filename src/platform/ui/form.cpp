#include "platform/ui/form.h"

namespace vexmar::ui {

Form::Form(Backend& backend, FormDesign design)
    : backend_(backend), design_(std::move(design)), peer_(backend.CreateForm(*this, design_)) {}

// The members are declared so that the controls go before the window's peer,
// as child windows go before their parent.
Form::~Form() = default;

Timer& Form::AddTimer(ControlDesign design) {
  timers_.push_back(std::make_unique<Timer>(*this, std::move(design)));
  return *timers_.back();
}

Control* Form::Find(const std::string& name, int index) const {
  for (const auto& control : controls_) {
    if (control->Name() == name && control->Index() == index) return control.get();
  }
  return nullptr;
}

void Form::SetTabOrder(const std::vector<Control*>& order) {
  peer_->SetTabOrder(order);
}

void Form::Show() {
  if (!loaded_) {
    loaded_ = true;
    if (onLoad) onLoad();
  }
  peer_->Show();
}

void Form::NotifyClosed() {
  if (closed_) return;
  closed_ = true;
  if (onUnload) onUnload();
}

}  // namespace vexmar::ui
