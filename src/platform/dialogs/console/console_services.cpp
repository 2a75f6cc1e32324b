#include "platform/dialogs/console/console_services.h"

#include <istream>
#include <ostream>

#include "platform/ui/form.h"

namespace vexmar::dialogs {
namespace {

std::string TakeFront(std::deque<std::string>& queue) {
  if (queue.empty()) return {};
  std::string value = std::move(queue.front());
  queue.pop_front();
  return value;
}

// Message texts separate their lines with CR LF; a terminal wants LF.
std::string ForTerminal(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

ConsoleServices::ConsoleServices(Options options, std::ostream& out, std::istream& in)
    : options_(options), out_(out), in_(in) {}

Answer ConsoleServices::ShowMessage(const Message& box) {
  out_ << box.title << ": " << ForTerminal(box.text) << '\n';
  if (box.buttons == Buttons::Ok) return Answer::Ok;
  if (options_.assumeYes) {
    out_ << "  (yes)\n";
    return Answer::Yes;
  }
  if (!options_.interactive) {
    out_ << "  (no: nobody to ask; pass --yes to answer yes)\n";
    return Answer::No;
  }
  out_ << "  [y/N] " << std::flush;
  std::string reply;
  if (!std::getline(in_, reply)) return Answer::No;
  return !reply.empty() && (reply[0] == 'y' || reply[0] == 'Y') ? Answer::Yes : Answer::No;
}

std::string ConsoleServices::BrowseForFolder(ui::NativeHandle, const std::string&) {
  return TakeFront(folders);
}

std::string ConsoleServices::ChooseFileToOpen(const FileDialog&) {
  return TakeFront(openNames);
}

std::string ConsoleServices::ChooseFileToSave(const FileDialog&) {
  return TakeFront(saveNames);
}

// Without a screen there is nobody to read a window; it is opened and closed
// so its load and unload reactions still run.
void ConsoleServices::ShowModal(ui::Form& form, ui::Form*) {
  form.Show();
  if (!form.Closed()) form.Close();
}

}  // namespace vexmar::dialogs
