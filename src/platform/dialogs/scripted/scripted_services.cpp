#include "platform/dialogs/scripted/scripted_services.h"

#include "platform/ui/form.h"

namespace vexmar::dialogs {
namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

Answer ScriptedServices::ShowMessage(const Message& box) {
  shown.push_back(box);
  if (box.buttons == Buttons::Ok) return Answer::Ok;
  if (answers.empty()) ++unansweredQuestions;
  return TakeFront(answers, Answer::No);
}

std::string ScriptedServices::BrowseForFolder(ui::NativeHandle owner, const std::string& title) {
  browsed.push_back({owner, title});
  return TakeFront(folders, std::string());
}

std::string ScriptedServices::ChooseFileToOpen(const FileDialog& dialog) {
  fileDialogs.push_back(dialog);
  return TakeFront(openNames, std::string());
}

std::string ScriptedServices::ChooseFileToSave(const FileDialog& dialog) {
  fileDialogs.push_back(dialog);
  return TakeFront(saveNames, std::string());
}

void ScriptedServices::ShowModal(ui::Form& form, ui::Form*) {
  modalForms.push_back(form.Name());
  form.Show();
  if (whileModal) {
    whileModal(form);
  }
  if (!form.Closed()) form.Close();
}

void ScriptedServices::DoEvents() {
  ++doEventsCalls;
  if (pendingEvents.empty()) return;
  auto event = std::move(pendingEvents.front());
  pendingEvents.pop_front();
  event();
}

}  // namespace vexmar::dialogs
