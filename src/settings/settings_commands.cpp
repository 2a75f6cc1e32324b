#include "settings/settings_commands.h"

#include "platform/text/text.h"
#include "settings/new_project.h"
#include "settings/settings_file.h"

namespace vexmar::settings {
namespace {

constexpr const char* kFilter = "Settings File|*.ebc";

void Report(workspace::FrmMain& w, const std::string& text) {
  w.GetHost().modal.ShowMessage({text, w.Window().Caption(), dialogs::Buttons::Ok,
                                 dialogs::Icon::Critical, w.Window().Handle()});
}

}  // namespace

bool SaveSettings(workspace::FrmMain& w) {
  Host& host = w.GetHost();
  const std::string path =
      host.modal.ChooseFileToSave({"Save Settings File", kFilter, w.Window().Handle()});
  if (path.empty()) return false;
  // ANSI text when every field fits the code page, as settings files have
  // always been; otherwise UTF-8 behind its mark, so a folder or title in
  // any script comes back whole.
  const std::string bytes = text::ToAnsiOrMarkedUtf8(FormatSettingsFile(w));
  // A save that fails must not let the author believe the project is safe,
  // and must not cost the settings file saved before.
  const Status saved = host.files.WriteWholeFile(path, bytes);
  if (!saved) {
    Report(w, "Your settings were not saved to the file:\r\n\r\n" + path + "\r\n\r\n" +
                  text::AsSentence(saved.error().reason));
    return false;
  }
  return true;
}

bool OpenSettings(workspace::FrmMain& w) {
  Host& host = w.GetHost();
  const std::string path =
      host.modal.ChooseFileToOpen({"Open Settings File", kFilter, w.Window().Handle()});
  if (path.empty()) return false;
  // The file is read before the window is cleared: a file that cannot be
  // read leaves the author's project as it was.
  const Result<std::string> bytes = host.files.ReadWholeFile(path);
  if (!bytes) {
    Report(w, "The settings file could not be opened:\r\n\r\n" + path + "\r\n\r\n" +
                  text::AsSentence(bytes.error().reason) + "  Your project was left as it was.");
    return false;
  }
  NewProject(w);
  ApplySettingsLines(w, SplitSettingsLines(text::FromAnsiOrMarkedUtf8(bytes.value())));
  host.modal.ShowMessage({"Your settings have been loaded.", w.Window().Caption(),
                          dialogs::Buttons::Ok, dialogs::Icon::None, w.Window().Handle()});
  return true;
}

}  // namespace vexmar::settings
