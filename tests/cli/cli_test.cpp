// vexmar-ebc's sub-commands, run as the executable runs them.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "book/book_format.h"
#include "build/build_command.h"
#include "build/ebook_image.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/console_program.h"
#include "platform/fs/file_system.h"
#include "platform/fs/temporary_file.h"
#include "platform/resources/resource_table.h"
#include "settings/settings_commands.h"
#include "support/source_path.h"
#include "support/temp_folder.h"

namespace vexmar::cli {
namespace {

namespace stdfs = std::filesystem;
using testing::TempFolder;
using Args = std::vector<std::string>;

TEST(Arguments, FitTheSyntaxOrSayWhatIsWrong) {
  const CommandSyntax syntax{{"BOOK", "DIR"}, {"--stub"}, {"--yes"}};
  const std::pair<Args, std::string> cases[] = {
      {{"--yes", "a", "--stub", "s", "b"}, ""},
      {{"--help"}, ""},  // help needs no arguments
      {{"a"}, "missing DIR"},
      {{"a", "b", "c"}, "unexpected argument c"},
      {{"a", "b", "--stub"}, "--stub needs a value"},
      {{"a", "b", "--stub", "s", "--stub", "t"}, "--stub is given twice"},
      {{"a", "b", "--force"}, "unknown option --force"},
  };
  for (const auto& [args, error] : cases) {
    EXPECT_EQ(ParseArguments(syntax, args).error, error) << args.back();
  }
  const Arguments a = ParseArguments(syntax, {"--yes", "x", "--stub", "s", "y"}).arguments;
  EXPECT_TRUE(a.Flag("--yes"));
  EXPECT_EQ(a.Value("--stub").value_or(""), "s");
  EXPECT_EQ(a.positionals, (Args{"x", "y"}));
}

// FNV-1a: enough to tell whether two outputs are the same bytes.
uint64_t Fingerprint(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

// The fixture stub's link time, and so its checksum, change with every build
// of the tests; a book keeps the one and recomputes the other.
std::string WithoutLinkTime(std::string exe) {
  const auto byte = [&exe](std::size_t at) {
    return static_cast<std::size_t>(static_cast<unsigned char>(exe.at(at)));
  };
  const std::size_t pe = byte(0x3C) | byte(0x3D) << 8;
  for (const std::size_t at : {pe + 8, pe + 88}) exe.replace(at, 4, 4, '\0');
  return exe;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    const stdfs::path project = stdfs::u8path(dir_.Path()) / "garden";
    stdfs::copy(stdfs::u8path(testing::SourcePath("examples/garden")), project);
  }
  int Run(int (*command)(const Args&), const Args& args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int code = command(args);
    out_ = ::testing::internal::GetCapturedStdout();
    err_ = ::testing::internal::GetCapturedStderr();
    return code;
  }
  std::string P(const std::string& relative) const { return dir_.Path() + relative; }
  // `vexmar-ebc build` with a build date that does not move with the clock.
  build::CompileResult Build(const std::string& settingsFile) {
    ConsoleProgram program(true, stub_);
    build::BuildSetup setup = program.Setup();
    setup.buildDate = [] { return std::string("3/14/2026"); };
    workspace::FrmMain& w = program.Window();
    program.Dialogs().openNames.push_back(settingsFile);
    ::testing::internal::CaptureStderr();
    settings::OpenSettings(w);
    for (int i = 0; i < w.lstFiles.Count(); ++i) w.lstFiles.SetChecked(i, true);
    for (int i = 0; i < w.lstTOC.Count(); ++i) w.lstTOC.SetChecked(i, true);
    const build::CompileResult result = build::Compile(w, setup);
    err_ = ::testing::internal::GetCapturedStderr();
    return result;
  }

  TempFolder dir_;
  std::string out_, err_;
  const std::string stub_ = VEXMAR_RESOURCE_FIXTURES "/exe32.exe";
};

// The real resource engine end to end: every file byte for byte, an empty
// one stored with no bytes, a large one read back in several pieces.
TEST_F(CommandLine, MakesInspectsAndExtractsTheSampleBook) {
  dir_.Write("garden/empty.txt", "");
  std::string large(600 * 1000, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 / 3);
  dir_.Write("garden/large.txt", large);
  ASSERT_EQ(Run(NewCommand, {P("garden"), "-o", P("garden.ebc"), "--title", "Garden Notes",
                             "--author", "A. Reader", "--home", "index.htm", "--toc", "all",
                             "--out-folder", dir_.Path(), "--out-file", "Garden"}),
            kExitDone)
      << err_;
  ASSERT_EQ(Run(BuildCommand, {P("garden.ebc"), "--yes", "--stub", stub_}), kExitDone) << err_;
  EXPECT_NE(err_.find("Compile Finished.: Your e-book has been created."), std::string::npos);

  ASSERT_EQ(Run(InspectCommand, {P("Garden.exe")}), kExitDone) << err_;
  EXPECT_NE(out_.find("title:        Garden Notes\n"), std::string::npos) << out_;
  EXPECT_NE(out_.find("files (10):"), std::string::npos) << out_;
  EXPECT_NE(out_.find("CHAPTER 1.HTML"), std::string::npos);

  ASSERT_EQ(Run(ExtractCommand, {P("Garden.exe"), P("extracted")}), kExitDone) << err_;
  for (const auto& [stored, name] : {std::pair{"LEAF.PNG", "leaf.png"},
                                     {"CHAPTER 1.HTML", "Chapter 1.html"},
                                     {"INDEX.HTM", "index.htm"},
                                     {"LARGE.TXT", "large.txt"}}) {
    EXPECT_EQ(dir_.Read(std::string("extracted/") + stored),
              dir_.Read(std::string("garden/") + name));
  }
  EXPECT_TRUE(stdfs::is_empty(stdfs::u8path(P("extracted/EMPTY.TXT"))));
  // The table of contents lists the pages, not the pictures.
  EXPECT_NE(dir_.Read("garden/index.htm").find("<A HREF='notes.txt'>notes</A>"), std::string::npos);
  EXPECT_EQ(dir_.Read("garden/index.htm").find("leaf.png'>"), std::string::npos);
}

// A crafted book in which the second file's data entry points at the first
// file's bytes; a book that claims one blob thousands of times used to take
// gigabytes to inspect.
TEST_F(CommandLine, RefusesABookWhoseFilesShareBytes) {
  ASSERT_EQ(
      Run(NewCommand, {P("garden"), "-o", P("g.ebc"), "--title", "T", "--author", "A", "--home",
                       "index.htm", "--out-folder", dir_.Path(), "--out-file", "Crafted"}),
      kExitDone);
  ASSERT_EQ(Run(BuildCommand, {P("g.ebc"), "--yes", "--stub", stub_}), kExitDone) << err_;
  std::string book = dir_.Read("Crafted.exe");
  resources::MemorySource source(reinterpret_cast<const uint8_t*>(book.data()), book.size());
  auto file = resources::ReadResourceFile(source);
  ASSERT_TRUE(file.ok());
  std::vector<std::string> dataEntries;  // the RVA and size of each file, as the tree stores them
  for (const resources::ResourceEntry& entry : file->table.entries()) {
    if (entry.type.is_number() && entry.type.number() == book_format::kFileType) {
      const uint32_t fields[2] = {entry.dataRva, entry.size};  // little-endian hosts only
      dataEntries.emplace_back(reinterpret_cast<const char*>(fields), sizeof fields);
    }
  }
  ASSERT_GE(dataEntries.size(), 2u);
  const size_t second = book.find(dataEntries[1]);
  ASSERT_NE(second, std::string::npos);
  book.replace(second, 8, dataEntries[0]);
  dir_.Write("Crafted.exe", book);

  EXPECT_EQ(Run(InspectCommand, {P("Crafted.exe")}), kExitFailed);
  EXPECT_NE(err_.find("share bytes"), std::string::npos) << err_;
  EXPECT_EQ(Run(ExtractCommand, {P("Crafted.exe"), P("out")}), kExitFailed);
  EXPECT_NE(err_.find("share bytes"), std::string::npos) << err_;
  EXPECT_FALSE(stdfs::exists(stdfs::u8path(P("out"))));
}

// A name no disk holds is named and left out; the rest is still written.
TEST_F(CommandLine, ExtractLeavesOutANameLongerThanAnyDiskHolds) {
  build::AssemblyInputs inputs;
  inputs.outputPath = P("Long.exe");
  inputs.stubPath = stub_;
  inputs.settings = {"T", "A", "index.htm", "1/1/2026", "", ""};
  const std::string page = dir_.Write("index.htm", "<p>home</p>");
  inputs.files = {{std::string(300, 'a') + ".htm", page}, {"index.htm", page}};
  ASSERT_EQ(
      build::AssembleEbook(fs::RealFileSystem(), build::EngineResourceUpdates(), inputs).outcome,
      build::Outcome::Done);
  EXPECT_EQ(Run(ExtractCommand, {P("Long.exe"), P("out")}), kExitFailed);
  EXPECT_NE(err_.find(".HTM: it is longer than 255 characters"), std::string::npos) << err_;
  EXPECT_EQ(dir_.Read("out/INDEX.HTM"), "<p>home</p>");
}

TEST_F(CommandLine, FailuresAndUsageErrorsHaveTheirExitCodes) {
  EXPECT_EQ(Run(NewCommand, {P("garden")}), kExitUsage);  // no -o
  EXPECT_EQ(Run(NewCommand, {P("nowhere"), "-o", P("x.ebc")}), kExitFailed);
  EXPECT_EQ(Run(BuildCommand, {P("missing.ebc"), "--yes"}), kExitFailed);
  EXPECT_NE(err_.find("could not be opened"), std::string::npos) << err_;
  EXPECT_EQ(Run(InspectCommand, {P("garden/index.htm")}), kExitFailed);
  EXPECT_NE(err_.find("is no e-book: not a PE file"), std::string::npos) << err_;
  EXPECT_EQ(Run(InspectCommand, {stub_}), kExitFailed);
  EXPECT_NE(err_.find("it has no settings record"), std::string::npos) << err_;

  // Without --yes and with nobody at a terminal, the first question is No.
  ASSERT_EQ(Run(NewCommand, {P("garden"), "-o", P("g.ebc"), "--title", "T", "--author", "A",
                             "--home", "index.htm"}),
            kExitDone);
  EXPECT_EQ(Run(BuildCommand, {P("g.ebc"), "--stub", stub_}), kExitFailed);
  EXPECT_NE(err_.find("nobody to ask"), std::string::npos) << err_;
}

// Files of sub-folders go in under their folder, "\\" between the parts
// whichever separator the settings file wrote; a link in the project that
// leads outside it is packed, and the command line says so.
TEST_F(CommandLine, PacksSubFolderFilesAndNotesLinksLeavingTheProject) {
  dir_.Write("garden/pics/stem.png", "stem");
  dir_.Write("garden/pics/root.png", "root");
  const std::string away = dir_.Write("away.txt", "outside");
  std::error_code noLinks;  // Windows without the right to make links
  stdfs::create_symlink(stdfs::u8path(away), stdfs::u8path(P("garden/away.txt")), noLinks);
  ASSERT_EQ(
      Run(NewCommand, {P("garden"), "-o", P("g.ebc"), "--title", "T", "--author", "A", "--home",
                       "index.htm", "--out-folder", dir_.Path(), "--out-file", "G"}),
      kExitDone);
  std::string ebc = dir_.Read("g.ebc");
  const size_t listEnd = ebc.find("\r\n", ebc.find("leaf.png"));
  ebc.insert(listEnd, ":pics\\stem.png:pics/root.png");
  dir_.Write("g.ebc", ebc);

  ASSERT_EQ(Run(BuildCommand, {P("g.ebc"), "--yes", "--stub", stub_}), kExitDone) << err_;
  EXPECT_EQ(err_.find("note: pics"), std::string::npos) << err_;
  const std::string notes = err_;
  ASSERT_EQ(Run(InspectCommand, {P("G.exe")}), kExitDone) << err_;
  for (const char* stored : {"PICS\\STEM.PNG", "PICS\\ROOT.PNG"}) {
    EXPECT_NE(out_.find(stored), std::string::npos) << stored << "\n" << out_;
  }
  if (!noLinks) {
    EXPECT_NE(out_.find("AWAY.TXT"), std::string::npos) << out_;
    EXPECT_NE(notes.find("note: away.txt is a link to " + away + ", outside the project folder"),
              std::string::npos)
        << notes;
  }
}

// The settings file, the index page and the book are each made beside
// their target under a name nobody can plant a link at in advance; here the
// test knows the names and plants links at the first ones tried. Stale
// temporary files of killed builds go; a 254-character book name is built.
TEST_F(CommandLine, TemporaryFilesAreNeverFollowedNorLeftBehind) {
#ifdef _WIN32
  const std::string name = "Garden";  // a long path is another matter there
#else
  const std::string name(250, 'G');
#endif
  const std::string victim = dir_.Write("victim.txt", "the author's");
  const std::string targets[] = {P("garden.ebc"), P("garden/index.htm"), P(name + ".exe")};
  for (const std::string& target : targets) {
    const std::string folder = target.substr(0, target.find_last_of("\\/") + 1);
    dir_.Write(folder.substr(dir_.Path().size()) + fs::TemporaryName(target, 0x7ffffff0, 9));
#ifndef _WIN32
    for (const std::uint32_t draw : {0u, 1u, 2u}) {
      stdfs::create_symlink(
          victim, folder + fs::TemporaryName(target, testing::ThisProcessForTest(), draw));
    }
#endif
  }
  static std::uint32_t draws = 0;
  const fs::NameDraw system = fs::SetNameDraw([] { return draws++ % 5; });
  ASSERT_EQ(Run(NewCommand,
                {P("garden"), "-o", P("garden.ebc"), "--title", "T", "--author", "A", "--home",
                 "index.htm", "--toc", "all", "--out-folder", dir_.Path(), "--out-file", name}),
            kExitDone);
  EXPECT_EQ(Run(BuildCommand, {P("garden.ebc"), "--yes", "--stub", stub_}), kExitDone) << err_;
  fs::SetNameDraw(system);
  EXPECT_EQ(Run(InspectCommand, {P(name + ".exe")}), kExitDone) << err_;
  EXPECT_EQ(dir_.Read("victim.txt"), "the author's");
  for (const std::string& folder : {dir_.Path(), P("garden")}) {
    for (const auto& entry : stdfs::directory_iterator(stdfs::u8path(folder))) {
      std::uint32_t process = 0;
      const std::string file = entry.path().filename().u8string();
      for (const std::string& target : targets) {
        EXPECT_FALSE(fs::IsTemporaryOf(target, file, &process) && !entry.is_symlink()) << file;
      }
    }
  }
}

// Figures taken from the program before names, titles and pages outside the
// ANSI code page were supported: every byte of a project that fits it stays.
TEST_F(CommandLine, AProjectThatFitsTheCodePageGivesTheSameBytesAsBefore) {
  // The figures are Windows-1252's, the code page where no Windows is asked.
  if (fs::PathSeparator() == '\\') GTEST_SKIP() << "the code page is the machine's own";
  dir_.Write("garden/Café.htm", "<p>caf\xE9</p>");
  ASSERT_EQ(Run(NewCommand, {dir_.Path() + "garden", "-o", dir_.Path() + "garden.ebc", "--title",
                             "Jardin d'été", "--author", "Zoë Brontë", "--home", "index.htm",
                             "--url-text", "Plus de notes…", "--url", "example.com/été", "--toc",
                             "all", "--out-folder", dir_.Path(), "--out-file", "Jardin"}),
            kExitDone)
      << err_;
  ASSERT_EQ(Build(dir_.Path() + "garden.ebc"), build::CompileResult::Done) << err_;
  const std::string settingsFile = ReplaceAll(dir_.Read("garden.ebc"), dir_.Path(), "<dir>/");
  EXPECT_EQ(Fingerprint(settingsFile), 1630567833479682612u);
  EXPECT_EQ(Fingerprint(dir_.Read("garden/index.htm")), 15067112503901367927u);
  EXPECT_EQ(Fingerprint(WithoutLinkTime(dir_.Read("Jardin.exe"))), 3435057719480283286u);
}

// Japanese, Greek, Arabic and emoji in the folder, the files, the title, the
// author and the link: the settings file and the book give every field,
// name and byte back.
TEST_F(CommandLine, AProjectInEveryScriptBuildsAndReadsBack) {
  const std::string folder = "書籍 Βιβλία كتب";
  const std::pair<std::string, std::string> files[] = {
      {"日本.htm", "<meta charset=\"utf-8\"><p>日本語のページ</p>"},
      {"Ελληνικά.htm", "<p>Καλημέρα</p>"},
      {"عربي.htm", "<p dir=\"rtl\">مرحبا</p>"},
      {"画像 😀.png", std::string("\x89PNG\r\n\x1A\n\0\xFF", 10)},
  };
  for (const auto& [name, bytes] : files) dir_.Write(folder + "/" + name, bytes);
  const std::string ebc = dir_.Path() + folder + ".ebc";
  ASSERT_EQ(Run(NewCommand, {dir_.Path() + folder, "-o", ebc, "--title", "日本の本 😀", "--author",
                             "Αλέξης", "--home", "日本.htm", "--url-text", "مزيد من الكتب", "--url",
                             "example.com/本", "--toc", "all"}),
            kExitDone)
      << err_;
  ASSERT_EQ(Run(BuildCommand, {ebc, "--yes", "--stub", stub_}), kExitDone) << err_;
  const std::string book = dir_.Path() + folder + "/Output/MyEbook.exe";

  ASSERT_EQ(Run(InspectCommand, {book}), kExitDone) << err_;
  for (const char* line :
       {"title:        日本の本 😀\n", "author:       Αλέξης\n", "index page:   日本.htm\n",
        "link text:    مزيد من الكتب\n", "link address: example.com/本\n"}) {
    EXPECT_NE(out_.find(line), std::string::npos) << line << out_;
  }
  ASSERT_EQ(Run(ExtractCommand, {book, dir_.Path() + "out"}), kExitDone) << err_;
  for (const auto& [stored, name] : {std::pair{"ΕΛΛΗΝΙΚΆ.HTM", "Ελληνικά.htm"},
                                     {"عربي.HTM", "عربي.htm"},
                                     {"画像 😀.PNG", "画像 😀.png"},
                                     {"日本.HTM", "日本.htm"}}) {
    EXPECT_NE(out_.find(stored), std::string::npos) << stored;
    EXPECT_EQ(dir_.Read("out/" + std::string(stored)), dir_.Read(folder + "/" + name)) << stored;
  }
  // The build opened the settings file (inspect showed its fields); it is UTF-8 behind its mark.
  EXPECT_EQ(dir_.Read(folder + ".ebc").rfind("\xEF\xBB\xBF日本の本 😀\r\nΑλέξης\r\n", 0), 0u);
}

}  // namespace
}  // namespace vexmar::cli
