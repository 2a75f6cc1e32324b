#pragma once
// The viewer's switches. Without any it shows the book in its window; the
// switches let a reader or a test look inside a book without one.
#include <string>
#include <vector>

#include "platform/result.h"

namespace vexmar::viewer {

enum class Command {
  kShow,      // the book in a window
  kHelp,      // /? : the switches
  kList,      // /list : name and size of every file entry
  kSettings,  // /settings : the nine fields of the settings record
  kExtract,   // /extract DIR : every entry as a file in DIR
  kFetch,     // /fetch URL : one page through the viewer's own protocol
  kVerify,    // /verify : every entry against the book's digest
  kContents,  // /contents : every page in reading order with its title
  kSearch,    // /search QUERY : the pages that match, best first
};

enum class Renderer {
  kAuto,     // the WebBrowser control, the default browser if it fails
  kBrowser,  // /renderer=browser : straight to the default browser
};

struct Options {
  Command command = Command::kShow;
  std::string argument;  // DIR, URL or QUERY
  std::string outPath;   // /out FILE: output there instead of the console
  Renderer renderer = Renderer::kAuto;
  std::string page;  // /page NAME[#anchor]: the page the window opens at
};

// What the process exit code says.
enum ExitCode : int {
  kExitOk = 0,
  kExitUsage = 2,        // unknown or incomplete switches
  kExitNotABook = 3,     // the bare stub: no settings, no files
  kExitBadBook = 4,      // settings record missing or malformed, no index page
  kExitNotFound = 5,     // /fetch: no such page
  kExitRefused = 6,      // /extract: some entries refused
  kExitWriteFailed = 7,  // an output file or folder could not be written
  kExitFailed = 8,       // the protocol or the window could not be set up
  kExitDamaged = 9,      // /verify: an entry damaged, missing or unknown to the digest
};

// `args` are the words after the program name, in UTF-8. Switches may start
// with "/" or "-" and are not case sensitive.
Result<Options> ParseCommandLine(const std::vector<std::string>& args);

extern const char kUsageText[];

}  // namespace vexmar::viewer
