// How long choosing a project folder of 30,000 pages takes on the headless
// main window, and how much memory it needs: the scan lists every name,
// filters it, appends it to the file list and lets the window run in between.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "bench/peak_memory.h"
#include "platform/dialogs/scripted/scripted_services.h"
#include "platform/fs/file_system.h"
#include "platform/ui/headless/headless_backend.h"
#include "workspace/frm_main.h"

namespace stdfs = std::filesystem;

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::stoi(argv[1]) : 30000;
  const stdfs::path folder = stdfs::temp_directory_path() / "vexmar-scan-bench";
  stdfs::remove_all(folder);
  stdfs::create_directories(folder);
  for (int i = 0; i < files; ++i) {
    std::ofstream(folder / ("page" + std::to_string(i) + ".htm")) << "<p>" << i << "</p>";
  }

  vexmar::ui::HeadlessBackend backend;
  vexmar::dialogs::ScriptedServices modal;
  vexmar::Host host{backend, modal, vexmar::fs::RealFileSystem(), vexmar::fs::ProgramFolder()};
  vexmar::workspace::FrmMain window(host);

  const long before = vexmar::bench::PeakResidentKiB();
  modal.folders.push_back(folder.string());
  const auto start = std::chrono::steady_clock::now();
  window.cmdopen.Click();
  const auto stop = std::chrono::steady_clock::now();
  const long after = vexmar::bench::PeakResidentKiB();
  stdfs::remove_all(folder);

  const double ms = std::chrono::duration<double, std::milli>(stop - start).count();
  std::printf(
      "folder scan: %d files listed in %.1f ms (%.2f us a file); peak memory %.1f MiB "
      "(%+.1f MiB during the scan)\n",
      window.lstFiles.Count(), ms, 1000.0 * ms / files, static_cast<double>(after) / 1024.0,
      static_cast<double>(after - before) / 1024.0);
  return window.lstFiles.Count() == files ? 0 : 1;
}
