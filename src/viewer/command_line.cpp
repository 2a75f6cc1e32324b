#include "viewer/command_line.h"

namespace vexmar::viewer {

const char kUsageText[] =
    "Switches of the e-book viewer:\n"
    "  /list              name and size of every file of the book\n"
    "  /settings          the nine fields of the book's settings record\n"
    "  /extract DIR       write every file of the book into the folder DIR\n"
    "  /fetch URL         one page, e.g. ebook://book/INDEX.HTM: its type and bytes\n"
    "  /verify            check every entry against the book's digest\n"
    "  /contents          every page in reading order: name and title\n"
    "  /search QUERY      the pages that match QUERY, best first: name, score, snippet\n"
    "  /page NAME[#PLACE] open the book at the page NAME\n"
    "  /out FILE          write the output to FILE instead of the console\n"
    "  /renderer=browser  open the book in the default web browser\n";

namespace {

std::string Lower(const std::string& text) {
  std::string out;
  for (const char c : text) {
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

struct CommandSwitch {
  const char* name;
  Command command;
  bool takesArgument;
};

constexpr CommandSwitch kCommands[] = {
    {"list", Command::kList, false},      {"settings", Command::kSettings, false},
    {"extract", Command::kExtract, true}, {"fetch", Command::kFetch, true},
    {"verify", Command::kVerify, false},  {"contents", Command::kContents, false},
    {"search", Command::kSearch, true},   {"?", Command::kHelp, false},
    {"help", Command::kHelp, false},
};

}  // namespace

Result<Options> ParseCommandLine(const std::vector<std::string>& args) {
  Options options;
  bool have_command = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) {
      return Error{"Unexpected argument \"" + word + "\"."};
    }
    const std::string name = Lower(word.substr(1));
    if (name == "out") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        return Error{"/out needs a file name."};
      }
      options.outPath = args[++i];
      continue;
    }
    if (name == "page") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        return Error{"/page needs the name of a page."};
      }
      options.page = args[++i];
      continue;
    }
    if (name == "renderer=browser") {
      options.renderer = Renderer::kBrowser;
      continue;
    }
    const CommandSwitch* match = nullptr;
    for (const CommandSwitch& candidate : kCommands) {
      if (name == candidate.name) {
        match = &candidate;
      }
    }
    if (match == nullptr) {
      return Error{"Unknown switch \"" + word + "\"."};
    }
    if (have_command) {
      return Error{
          "Only one of /list, /settings, /extract, /fetch, /verify, /contents and /search at a "
          "time."};
    }
    have_command = true;
    options.command = match->command;
    if (match->takesArgument) {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        const char* what = match->command == Command::kFetch    ? "a URL."
                           : match->command == Command::kSearch ? "a query."
                                                                : "a folder.";
        return Error{word + " needs " + what};
      }
      options.argument = args[++i];
    }
  }
  if (!options.page.empty() && options.command != Command::kShow) {
    return Error{"/page opens the book's window and goes with no other switch but /renderer."};
  }
  return options;
}

}  // namespace vexmar::viewer
