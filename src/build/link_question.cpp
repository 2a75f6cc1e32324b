#include "build/link_question.h"

namespace vexmar::build {
namespace {

constexpr std::size_t kLinesShown = 10;
constexpr char kCrLf[] = "\r\n";

}  // namespace

std::vector<LinkFinding> CheckWindowLinks(workspace::FrmMain& w) {
  LinkCheckInput input{w.ProjectFolder, {}, w.txthomepage.Text(), {}};
  for (int i = 0; i < w.lstFiles.Count(); ++i) {
    if (w.lstFiles.Checked(i)) input.checkedEntries.push_back(w.lstFiles.Entry(i));
    input.listedEntries.push_back(w.lstFiles.Entry(i));
  }
  return CheckLinks(w.GetHost().files, input);
}

std::string LinkQuestion(const std::vector<LinkFinding>& findings) {
  std::string text = std::string("The link check found these problems in your project:") + kCrLf;
  for (std::size_t i = 0; i < findings.size() && i < kLinesShown; ++i) {
    text += kCrLf + InPlainWords(findings[i]);
  }
  if (findings.size() > kLinesShown) {
    text += std::string(kCrLf) + "\xE2\x80\xA6 and " +
            std::to_string(findings.size() - kLinesShown) + " more";
  }
  return text + kCrLf + kCrLf + "Do you want to build the e-book anyway?";
}

LinkVerdict AskAboutLinks(workspace::FrmMain& w, const BuildSetup& setup) {
  const std::vector<LinkFinding> findings = CheckWindowLinks(w);
  if (findings.empty()) return LinkVerdict::Build;
  if (setup.linkFindings && !setup.linkFindings(findings)) return LinkVerdict::Refused;
  const dialogs::Answer answer =
      w.GetHost().modal.ShowMessage({LinkQuestion(findings), "Check Links", dialogs::Buttons::YesNo,
                                     dialogs::Icon::Question, w.Window().Handle()});
  return answer == dialogs::Answer::No ? LinkVerdict::Declined : LinkVerdict::Build;
}

}  // namespace vexmar::build
