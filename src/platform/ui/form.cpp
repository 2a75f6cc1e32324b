#include "platform/ui/form.h"

namespace vexmar::ui {

Form::Form(Backend& backend, FormSpec spec)
    : backend_(backend), spec_(std::move(spec)), peer_(backend.CreateForm(*this, spec_)) {}

// The members are declared so that the controls go before the window's peer,
// as child windows go before their parent.
Form::~Form() = default;

Timer& Form::AddTimer(ControlSpec spec) {
  timers_.push_back(std::make_unique<Timer>(*this, std::move(spec)));
  return *timers_.back();
}

Control* Form::Find(const std::string& name, int index) const {
  for (const auto& control : controls_) {
    if (control->Name() == name && control->Index() == index) return control.get();
  }
  return nullptr;
}

void Form::SetTabOrder(const std::vector<Control*>& order) {
  tabOrder_ = order;
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
