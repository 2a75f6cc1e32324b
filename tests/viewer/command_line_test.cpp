#include "viewer/command_line.h"

#include <gtest/gtest.h>

namespace vexmar::viewer {
namespace {

TEST(CommandLine, ReadsEachSwitchAndItsArgumentOrSaysWhyNot) {
  const std::pair<std::vector<std::string>, Options> cases[] = {
      {{}, {Command::kShow, "", "", Renderer::kAuto, ""}},
      {{"-LIST"}, {Command::kList, "", "", Renderer::kAuto, ""}},
      {{"/out", "o.txt", "/extract", "C:\\my book"},
       {Command::kExtract, "C:\\my book", "o.txt", Renderer::kAuto, ""}},
      {{"/renderer=browser"}, {Command::kShow, "", "", Renderer::kBrowser, ""}},
      {{"/?"}, {Command::kHelp, "", "", Renderer::kAuto, ""}},
      {{"/Contents"}, {Command::kContents, "", "", Renderer::kAuto, ""}},
      {{"/search", "\"red roses\" tul*"},
       {Command::kSearch, "\"red roses\" tul*", "", Renderer::kAuto, ""}},
      {{"/renderer=browser", "/PAGE", "a b.htm#top"},
       {Command::kShow, "", "", Renderer::kBrowser, "a b.htm#top"}},
  };
  for (const auto& [args, expected] : cases) {
    const Result<Options> options = ParseCommandLine(args);
    ASSERT_TRUE(options.ok()) << options.error().reason;
    EXPECT_EQ(std::tie(options->command, options->argument, options->outPath, options->renderer,
                       options->page),
              std::tie(expected.command, expected.argument, expected.outPath, expected.renderer,
                       expected.page));
  }
  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"/extract"}, "needs a folder"},     {{"/extract", ""}, "needs a folder"},
      {{"/fetch"}, "needs a URL"},          {{"/out"}, "needs a file name"},
      {{"/list", "/settings"}, "Only one"}, {{"book.htm"}, "Unexpected argument"},
      {{"/"}, "Unexpected argument"},       {{"/search"}, "needs a query"},
      {{"/page"}, "needs the name"},        {{"/page", "a.htm", "/list"}, "no other switch"},
  };
  for (const auto& [args, message_part] : refused) {
    const Result<Options> options = ParseCommandLine(args);
    ASSERT_FALSE(options.ok()) << args.front();
    EXPECT_NE(options.error().reason.find(message_part), std::string::npos)
        << options.error().reason;
  }
}

}  // namespace
}  // namespace vexmar::viewer
