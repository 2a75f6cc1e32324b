#pragma once
// The link check as the last step of Compile's checks: when it finds
// anything, one question lists what it found and asks whether to build the
// e-book anyway.
#include <string>
#include <vector>

#include "build/build_command.h"
#include "build/link_check.h"

namespace vexmar::build {

enum class LinkVerdict {
  Build,     // nothing found, or the author builds anyway
  Declined,  // the author answered No
  Refused,   // the setup's listener ended the build
};

// The link check of the project the window holds: its checked files, its
// home page and its file list.
std::vector<LinkFinding> CheckWindowLinks(workspace::FrmMain& w);

LinkVerdict AskAboutLinks(workspace::FrmMain& w, const BuildSetup& setup);

// The question's text: the first ten findings, one a line, and how many more.
std::string LinkQuestion(const std::vector<LinkFinding>& findings);

}  // namespace vexmar::build
