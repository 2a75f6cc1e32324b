#pragma once
// Compile: the author's main event. It confirms, checks the project in a
// fixed order, puts the table of contents in front of the index page when
// asked to, assembles the e-book and reports the outcome.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "build/build_day.h"
#include "build/icon_file.h"
#include "build/link_check.h"
#include "build/resource_updates.h"
#include "workspace/frm_main.h"

namespace vexmar::build {

// The title of the boxes that name no title of their own.
inline constexpr char kApplicationTitle[] = "Vexmar E-book Compiler";

struct BuildSetup {
  ResourceUpdates& resources;
  std::string stubPath;                        // the viewer stub, dmsfx.dat
  std::function<Result<BuildDay>()> buildDay;  // today, or the day SOURCE_DATE_EPOCH names
  std::optional<IconResources> icon = {};      // replaces the stub's icon when given
  // Told of the link check's findings before the author is asked about
  // them (the command line prints them all); false ends the build with
  // nothing written. None: the author is asked.
  std::function<bool(const std::vector<LinkFinding>&)> linkFindings = nullptr;
  // The book's contents and search index; off only to measure or compare
  // the build without them (VEXMAR_BUILD_WITHOUT_READER in the environment).
  bool readerEntries = true;
};

// The stub beside the program, and the build day (build_day.h): what the
// windows use.
BuildSetup DefaultBuildSetup(const Host& host);

// How a Compile ended. The window tells the author by its message boxes;
// the command-line compiler turns this into its exit code.
enum class CompileResult { Cancelled, CheckFailed, Failed, Done };

CompileResult Compile(workspace::FrmMain& window, const BuildSetup& setup);

}  // namespace vexmar::build
