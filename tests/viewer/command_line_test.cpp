#include "viewer/command_line.h"

#include <gtest/gtest.h>

namespace vexmar::viewer {
namespace {

Options Want(Command command, const char* argument = "", const char* out_path = "",
             Renderer renderer = Renderer::kAuto) {
  return {command, argument, out_path, renderer};
}

TEST(CommandLine, ReadsEachSwitchAndItsArgument) {
  const std::pair<std::vector<std::string>, Options> cases[] = {
      {{}, Want(Command::kShow)},
      {{"-LIST"}, Want(Command::kList)},
      {{"/Settings", "/out", "s.txt"}, Want(Command::kSettings, "", "s.txt")},
      {{"/out", "o.txt", "/extract", "C:\\my book"},
       Want(Command::kExtract, "C:\\my book", "o.txt")},
      {{"/fetch", "ebook://book/A.HTM"}, Want(Command::kFetch, "ebook://book/A.HTM")},
      {{"/renderer=browser"}, Want(Command::kShow, "", "", Renderer::kBrowser)},
      {{"/?"}, Want(Command::kHelp)},
  };
  for (const auto& [args, expected] : cases) {
    SCOPED_TRACE(args.empty() ? "(none)" : args.front());
    const Result<Options> options = ParseCommandLine(args);
    ASSERT_TRUE(options.ok()) << options.error().reason;
    EXPECT_EQ(options->command, expected.command);
    EXPECT_EQ(options->argument, expected.argument);
    EXPECT_EQ(options->out_path, expected.out_path);
    EXPECT_EQ(options->renderer, expected.renderer);
  }
}

TEST(CommandLine, RefusesWhatItCannotRunSayingWhy) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"/extract"}, "needs a folder"},      {{"/extract", ""}, "needs a folder"},
      {{"/fetch"}, "needs a URL"},           {{"/out"}, "needs a file name"},
      {{"/list", "/settings"}, "Only one"},  {{"/lst"}, "Unknown switch \"/lst\""},
      {{"book.htm"}, "Unexpected argument"}, {{"/"}, "Unexpected argument"},
  };
  for (const auto& [args, message_part] : cases) {
    SCOPED_TRACE(args.front());
    const Result<Options> options = ParseCommandLine(args);
    ASSERT_FALSE(options.ok());
    EXPECT_NE(options.error().reason.find(message_part), std::string::npos)
        << options.error().reason;
  }
}

}  // namespace
}  // namespace vexmar::viewer
