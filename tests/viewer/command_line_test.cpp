#include "viewer/command_line.h"

#include <gtest/gtest.h>

namespace vexmar::viewer {
namespace {

TEST(CommandLine, ReadsEachSwitchAndItsArgument) {
  struct Case {
    std::vector<std::string> args;
    Command command;
    const char* argument;
    const char* out_path;
    Renderer renderer;
  };
  const Case cases[] = {
      {{}, Command::kShow, "", "", Renderer::kAuto},
      {{"/list"}, Command::kList, "", "", Renderer::kAuto},
      {{"-LIST"}, Command::kList, "", "", Renderer::kAuto},
      {{"/Settings", "/out", "s.txt"}, Command::kSettings, "", "s.txt", Renderer::kAuto},
      {{"/out", "o.txt", "/extract", "C:\\my book"},
       Command::kExtract,
       "C:\\my book",
       "o.txt",
       Renderer::kAuto},
      {{"/fetch", "ebook://book/A.HTM"},
       Command::kFetch,
       "ebook://book/A.HTM",
       "",
       Renderer::kAuto},
      {{"/renderer=browser"}, Command::kShow, "", "", Renderer::kBrowser},
      {{"/?"}, Command::kHelp, "", "", Renderer::kAuto},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.front());
    const Result<Options> options = ParseCommandLine(c.args);
    ASSERT_TRUE(options.ok()) << options.error().reason;
    EXPECT_EQ(options->command, c.command);
    EXPECT_EQ(options->argument, c.argument);
    EXPECT_EQ(options->out_path, c.out_path);
    EXPECT_EQ(options->renderer, c.renderer);
  }
}

TEST(CommandLine, RefusesWhatItCannotRunSayingWhy) {
  struct Case {
    std::vector<std::string> args;
    const char* message_part;
  };
  const Case cases[] = {
      {{"/extract"}, "needs a folder"},      {{"/extract", ""}, "needs a folder"},
      {{"/fetch"}, "needs a URL"},           {{"/out"}, "needs a file name"},
      {{"/list", "/settings"}, "Only one"},  {{"/lst"}, "Unknown switch \"/lst\""},
      {{"book.htm"}, "Unexpected argument"}, {{"/"}, "Unexpected argument"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front());
    const Result<Options> options = ParseCommandLine(c.args);
    ASSERT_FALSE(options.ok());
    EXPECT_NE(options.error().reason.find(c.message_part), std::string::npos)
        << options.error().reason;
  }
}

}  // namespace
}  // namespace vexmar::viewer
