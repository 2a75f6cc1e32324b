// vexmar-ebc's sub-commands, run as the executable runs them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "book/book_format.h"
#include "book/sha256.h"
#include "build/ebook_image.h"
#include "cli/arguments.h"
#include "cli/command_line_fixture.h"
#include "cli/commands.h"
#include "platform/fs/file_system.h"
#include "platform/fs/temporary_file.h"
#include "platform/resources/resource_table.h"
#include "platform/resources/resource_update.h"
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

class CommandLine : public CommandLineTest {
 protected:
  void SetUp() override {
    const stdfs::path project = stdfs::u8path(dir_.Path()) / "garden";
    stdfs::copy(stdfs::u8path(testing::SourcePath("examples/garden")), project);
  }
};

// The real resource engine end to end: every file byte for byte, an empty
// one stored with no bytes, a large one read back in several pieces.
TEST_F(CommandLine, MakesInspectsAndExtractsTheSampleBook) {
  dir_.Write("garden/empty.txt", "");
  std::string large(600 * 1000, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 / 3);
  dir_.Write("garden/large.txt", large);
  ASSERT_EQ(NewProject("garden", "Garden", {"--toc", "all"}), kExitDone) << err_;
  ASSERT_EQ(Build("garden"), kExitDone) << err_;
  EXPECT_NE(err_.find("Compile Finished.: Your e-book has been created."), std::string::npos);

  ASSERT_EQ(Run(InspectCommand, {P("Garden.exe")}), kExitDone) << err_;
  EXPECT_NE(out_.find("title:        T\n"), std::string::npos) << out_;
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

// The book carries a digest of its entries: build prints the finished
// book's SHA-256 last, and inspect says whether the entries still match;
// a book whose files share bytes is refused.
TEST_F(CommandLine, InspectTellsAWholeBookFromATamperedOne) {
  ASSERT_EQ(NewProject("garden", "G"), kExitDone);
  ASSERT_EQ(Build("garden"), kExitDone) << err_;
  const std::string whole = dir_.Read("G.exe");
  const std::string checksum = "sha256: " + book::ToHex(book::Sha256Of(whole)) + "\n";
  EXPECT_EQ(out_.substr(std::min(out_.size(), out_.rfind("sha256: "))), checksum);
  auto digestLine = [&](const std::string& book) {
    dir_.Write("T.exe", book);
    EXPECT_EQ(Run(InspectCommand, {P("T.exe")}), kExitDone) << err_;
    const size_t at = out_.rfind("digest:");
    return at == std::string::npos ? out_ : out_.substr(at + 14, out_.find('\n', at) - at - 13);
  };
  EXPECT_EQ(digestLine(whole), "matches (11 entries)\n");  // the contents and search too

  std::string byte = whole;
  byte[byte.find("<title>Seeds</title>") + 7] ^= 0x20;
  EXPECT_EQ(digestLine(byte), "does not match: damaged SEEDS.HTM\n");

  std::string renamed = whole;
  const std::u16string notes = u"NOTES.TXT";
  const size_t name = renamed.find(std::string(reinterpret_cast<const char*>(notes.data()), 18));
  ASSERT_NE(name, std::string::npos);
  renamed[name + 8] = 'Z';  // NOTEZ.TXT, still in its place in the sorted table
  EXPECT_EQ(digestLine(renamed), "does not match: extra NOTEZ.TXT, missing NOTES.TXT\n");

  auto rewritten = [&](const resources::ResourceId& type, const char* entry,
                       const std::string& bytes) {
    auto update = resources::ResourceUpdate::Begin(stdfs::u8path(P("G.exe")));
    EXPECT_TRUE(update.ok());
    EXPECT_TRUE(update->Update(type, resources::ResourceId::FromUtf8(entry).value(), 1033,
                               {bytes.begin(), bytes.end()}));
    EXPECT_TRUE(update->Commit().ok());
    const std::string book = dir_.Read("G.exe");
    dir_.Write("G.exe", whole);
    return book;
  };
  const std::string added =
      rewritten(resources::ResourceId::Number(book_format::kFileType).value(), "EVIL.HTM", "<b>");
  EXPECT_EQ(digestLine(added), "does not match: extra EVIL.HTM\n");
  const std::string cut = whole.substr(whole.find("vexmar-digest 1\n"), 100);
  EXPECT_EQ(digestLine(rewritten(resources::ResourceId::FromUtf8("VEXMAR").value(), "DIGEST", cut)),
            "damaged: the digest's last line is cut short\n");

  // A crafted book in which the second file's data entry points at the
  // first file's bytes; one that claims one blob thousands of times used to
  // take gigabytes to inspect.
  std::string book = whole;
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

void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 1);
#endif
}
void SetSourceDateEpoch(const char* value) {
  SetEnvironment("SOURCE_DATE_EPOCH", value);
}

// The same project, stub and SOURCE_DATE_EPOCH give the same bytes, the
// project's files touched in between.
// pefile, an independent reader, sees the title and author as typed (UTF-16,
// not a code page), the file name and the day, and no version of the stub.
TEST_F(CommandLine, SourceDateEpochGivesIdenticalBooksCarryingTheirVersion) {
  const std::string title = "G\xC3\xA4rten \xE2\x82\xAC \xC5\x92uvre";  // Gärten € Œuvre
  ASSERT_EQ(Run(NewCommand, {P("garden"), "-o", P("garden.ebc"), "--title", title, "--author",
                             "Zo\xC3\xAB", "--home", "index.htm", "--out-folder", dir_.Path()}),
            kExitDone);
  SetSourceDateEpoch("1765238399");  // 2025-12-08 23:59:59 UTC
  ASSERT_EQ(Build("garden"), kExitDone) << err_;
  const std::string first = dir_.Read("MyEbook.exe");
  for (const auto& entry : stdfs::directory_iterator(stdfs::u8path(P("garden")))) {
    stdfs::last_write_time(entry.path(), stdfs::file_time_type::clock::now());
  }
  ASSERT_EQ(Build("garden"), kExitDone) << err_;
  EXPECT_TRUE(dir_.Read("MyEbook.exe") == first);
  ASSERT_EQ(Run(InspectCommand, {P("MyEbook.exe")}), kExitDone) << err_;
  EXPECT_NE(out_.find("build date:   12/8/2025\n"), std::string::npos) << out_;
#ifndef _WIN32  // pefile reads the book on the Linux side
  const std::string read = "/usr/bin/python3 " + testing::SourcePath("tests/cli/read_version.py") +
                           " " + P("MyEbook.exe");
  std::FILE* pipe = popen(read.c_str(), "r");
  std::string seen(4096, '\0');
  seen.resize(std::fread(seen.data(), 1, seen.size(), pipe));
  if (WEXITSTATUS(pclose(pipe)) != 77) {  // 77: python3-pefile is not installed
    EXPECT_EQ(seen,
              "1 2025.12.8.0 134096256000000000 040904B0 0x0409 0x04b0\n"
              "CompanyName=Zo\xC3\xAB\nFileDescription=" +
                  title +
                  "\nFileVersion=2025.12.8.0\nInternalName=MyEbook\nLegalCopyright=\xC2\xA9 "
                  "2025 Zo\xC3\xAB\nOriginalFilename=MyEbook.exe\nProductName=" +
                  title + "\nProductVersion=2025.12.8.0\nComments=Built on 2025-12-08\n");
  }
#endif
  SetSourceDateEpoch("");
}

// An icon file of `images` images of `size` bytes: a bitmap, then PNGs.
std::string IconFile(int images, uint32_t size) {
  std::string file{'\0', '\0', '\1', '\0', static_cast<char>(images), '\0'};
  for (int i = 0; i < images; ++i) {
    const uint32_t at = static_cast<uint32_t>(6 + 16 * images + i * static_cast<int>(size));
    const uint32_t entry[] = {0x2020u, 0x200001u, size, at};
    file.append(reinterpret_cast<const char*>(entry), sizeof entry);  // little-endian hosts
  }
  for (int i = 0; i < images; ++i) {
    std::string image = i == 0 ? std::string("\x28\0\0\0", 4) : "\x89PNG\r\n\x1a\n";
    file += image.append(size - image.size(), 'a');
  }
  return file;
}

// --icon: the file's images replace every icon of the stub, under the group
// the viewer and the shell show; a file that is no icon ends the build with
// exit 2 and writes nothing.
TEST_F(CommandLine, IconReplacesTheStubsIconsOrEndsTheBuild) {
  ASSERT_EQ(NewProject("garden", "G"), kExitDone);
  const auto icons = [this] {  // "TYPE/NAME SIZE;" of each icon entry of G.exe
    const std::string bytes = dir_.Read("G.exe");
    resources::MemorySource source(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    const auto file = resources::ReadResourceFile(source);
    std::string found;
    for (const auto& e : file.value().table.entries()) {
      if (e.type == resources::ResourceId::StoredNumber(3) ||
          e.type == resources::ResourceId::StoredNumber(14))
        found += e.type.ToDisplay() + "/" + e.name.ToDisplay() + " " + std::to_string(e.size) + ";";
    }
    return found;
  };
  dir_.Write("three.ico", IconFile(3, 100));
  ASSERT_EQ(Build("garden", {"--icon", P("three.ico")}), kExitDone) << err_;
  EXPECT_EQ(icons(), "3/1 100;3/2 100;3/3 100;14/1 48;");
  stdfs::rename(stdfs::u8path(P("G.exe")), stdfs::u8path(P("Three.exe")));
  dir_.Write("one.ico", IconFile(1, 60));
  ASSERT_EQ(Run(BuildCommand,
                {P("garden.ebc"), "--yes", "--stub", P("Three.exe"), "--icon", P("one.ico")}),
            kExitDone)
      << err_;
  EXPECT_EQ(icons(), "3/1 60;14/1 20;");

  std::string shared = IconFile(2, 50), outside = IconFile(1, 50);
  shared[6 + 16 + 12] = shared[6 + 12];  // the second image starts at the first
  outside[6 + 8] = 51;
  const std::pair<std::string, std::string> bad[] = {
      {dir_.Read("garden/leaf.png"), "it does not start as one"},
      {outside, "image 1 lies outside the file"},
      {shared, "two images share bytes"},
  };
  stdfs::remove(stdfs::u8path(P("G.exe")));
  for (const auto& [bytes, why] : bad) {
    dir_.Write("bad.ico", bytes);
    EXPECT_EQ(Build("garden", {"--icon", P("bad.ico")}), kExitFailed);
    EXPECT_NE(err_.find("bad.ico cannot be the book's icon: it is not an icon file (.ico): " + why),
              std::string::npos)
        << err_;
    EXPECT_FALSE(stdfs::exists(stdfs::u8path(P("G.exe"))));
  }
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
  ASSERT_EQ(NewProject("garden", "G"), kExitDone);
  EXPECT_EQ(Run(BuildCommand, {P("garden.ebc"), "--stub", stub_}), kExitFailed);
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
  ASSERT_EQ(NewProject("garden", "G"), kExitDone);
  std::string ebc = dir_.Read("garden.ebc");
  const size_t listEnd = ebc.find("\r\n", ebc.find("leaf.png"));
  ebc.insert(listEnd, ":pics\\stem.png:pics/root.png");
  dir_.Write("garden.ebc", ebc);

  ASSERT_EQ(Build("garden"), kExitDone) << err_;
  EXPECT_EQ(err_.find("note: pics"), std::string::npos) << err_;
  const std::string note = "note: away.txt is a link to " + away + ", outside the project folder";
  EXPECT_TRUE(noLinks || err_.find(note) != std::string::npos) << err_;
  ASSERT_EQ(Run(InspectCommand, {P("G.exe")}), kExitDone) << err_;
  EXPECT_NE(out_.find("PICS\\ROOT.PNG"), std::string::npos) << out_;  // stem.png was read, too
  EXPECT_TRUE(noLinks || out_.find("AWAY.TXT") != std::string::npos) << out_;
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
  ASSERT_EQ(NewProject("garden", name, {"--toc", "all"}), kExitDone);
  EXPECT_EQ(Build("garden"), kExitDone) << err_;
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
// (Taken again when the sample's pages got their style sheet and script.)
TEST_F(CommandLine, AProjectThatFitsTheCodePageGivesTheSameBytesAsBefore) {
  // The figures are Windows-1252's, the code page where no Windows is asked.
  if (fs::PathSeparator() == '\\') GTEST_SKIP() << "the code page is the machine's own";
  dir_.Write("garden/Café.htm", "<p>caf\xE9</p>");
  ASSERT_EQ(Run(NewCommand, {P("garden"), "-o", P("garden.ebc"), "--title", "Jardin d'été",
                             "--author", "Zoë Brontë", "--home", "index.htm", "--url-text",
                             "Plus de notes…", "--url", "example.com/été", "--toc", "all",
                             "--out-folder", dir_.Path(), "--out-file", "Jardin"}),
            kExitDone)
      << err_;
  SetSourceDateEpoch("1773446400");  // 3/14/2026, so the bytes do not move with the clock
  // The contents and the search index come on top; the rest stays as it was.
  SetEnvironment("VEXMAR_BUILD_WITHOUT_READER", "1");
  ASSERT_EQ(Build("garden"), kExitDone) << err_;
  SetEnvironment("VEXMAR_BUILD_WITHOUT_READER", "");
  SetSourceDateEpoch("");
  const std::string settingsFile = ReplaceAll(dir_.Read("garden.ebc"), dir_.Path(), "<dir>/");
  EXPECT_EQ(Fingerprint(settingsFile), 1630567833479682612u);
  EXPECT_EQ(Fingerprint(dir_.Read("garden/index.htm")), 15855665670759105357u);
  EXPECT_EQ(Fingerprint(WithoutLinkTime(dir_.Read("Jardin.exe"))), 1346531947496193689u);
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
  ASSERT_EQ(Run(NewCommand, {P(folder), "-o", P(folder + ".ebc"), "--title", "日本の本 😀",
                             "--author", "Αλέξης", "--home", "日本.htm", "--url-text",
                             "مزيد من الكتب", "--url", "example.com/本", "--toc", "all"}),
            kExitDone)
      << err_;
  ASSERT_EQ(Build(folder), kExitDone) << err_;
  const std::string book = P(folder + "/Output/MyEbook.exe");

  ASSERT_EQ(Run(InspectCommand, {book}), kExitDone) << err_;
  for (const char* line :
       {"title:        日本の本 😀\n", "author:       Αλέξης\n", "index page:   日本.htm\n",
        "link text:    مزيد من الكتب\n", "link address: example.com/本\n",
        "digest:       matches ("}) {
    EXPECT_NE(out_.find(line), std::string::npos) << line << out_;
  }
  ASSERT_EQ(Run(ExtractCommand, {book, P("out")}), kExitDone) << err_;
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
