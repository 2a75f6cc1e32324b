#include "build/link_check.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>

#include "book/page_kind.h"
#include "book/page_links.h"
#include "book/percent_decode.h"
#include "build/ebook_image.h"
#include "build/project_bounds.h"
#include "platform/text/text.h"
#include "workspace/book_files.h"

namespace vexmar::build {
namespace {

using book::PageLinks;
using book::PageReference;
using book::ScanPage;
using book::ScanStyleSheet;

enum class FileKind { Page, StyleSheet, Other };

FileKind KindOf(const std::string& entry) {
  const std::string lower = text::ToLower(entry);
  const auto endsWith = [&](std::string_view tail) {
    return lower.size() >= tail.size() &&
           lower.compare(lower.size() - tail.size(), std::string::npos, tail) == 0;
  };
  if (book::IsWebPageName(entry)) return FileKind::Page;
  if (endsWith(".css")) return FileKind::StyleSheet;
  return FileKind::Other;
}

// The name a file is stored under in the book. Most links are plain ASCII,
// which the trip through the code page keeps and which upper-cases letter
// by letter; only other names take the long way.
std::string StoredName(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) {
    if (static_cast<unsigned char>(c) >= 0x80) return StoredEntryName(name);
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c == '/') c = '\\';
  }
  return upper;
}

// What an included kind of file is known by: its name from the last dot on
// (".css"), or the whole name when it has none, in small letters.
std::string KindSuffix(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return text::ToLower(dot == std::string_view::npos ? name : name.substr(dot));
}

// The file name a link ends in, without its place or query.
std::string_view LinkedName(std::string_view target) {
  target = target.substr(0, target.find_first_of("#?"));
  const std::size_t slash = target.find_last_of("/\\");
  return slash == std::string_view::npos ? target : target.substr(slash + 1);
}

std::string ForDisplay(std::string name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

// As the viewer decodes "%XX" runs: as UTF-8 where the bytes are UTF-8,
// else as the ANSI code page of an old page.
std::optional<std::string> PercentDecoded(std::string_view text) {
  return book::PercentDecode(text, [](std::string_view ansi) { return text::AnsiToUtf8(ansi); });
}

bool IsSchemeChar(char c, bool first) {
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

// The scheme of an absolute URL ("http"), or nothing for a relative one.
std::optional<std::string_view> SchemeOf(std::string_view url) {
  for (std::size_t i = 0; i < url.size(); ++i) {
    if (url[i] == ':' && i > 0) return url.substr(0, i);
    if (!IsSchemeChar(url[i], i == 0)) return std::nullopt;
  }
  return std::nullopt;
}

// A URL as a browser takes it from an attribute: blanks around it dropped,
// tabs and line breaks inside it too (into `store` when there are any).
std::string_view Cleaned(std::string_view target, std::string& store) {
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
  };
  while (!target.empty() && blank(target.front())) target.remove_prefix(1);
  while (!target.empty() && blank(target.back())) target.remove_suffix(1);
  if (target.find_first_of("\t\n\r") == std::string_view::npos) return target;
  for (const char c : target) {
    if (c != '\t' && c != '\n' && c != '\r') store += c;
  }
  return store;
}

struct CheckedFile {
  std::string entry;
  std::string display;
  std::string stored;
  FileKind kind;
};

// A 64-bit FNV-1a hash. Two names of one page meet in it about once in
// 10^19 tries, and a page's places are looked up by it without touching
// their text, which keeps the check of many thousand pages in the cache.
std::uint64_t NameHash(std::string_view name) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

// What a link to a checked file needs to know of it.
struct LinkTarget {
  bool page = false;                  // a web page, whose places are known
  std::vector<std::uint64_t> places;  // NameHash of each id and <a name>, sorted
};

struct ScannedFile {
  const CheckedFile* file;
  const LinkTarget* self;
  std::string folder;  // its folder in the book, "\" between folders, empty at the top
  std::vector<PageReference> references;
};

class LinkCheck {
 public:
  LinkCheck(fs::FileSystem& files, const LinkCheckInput& input) : files_(files), in_(input) {}

  std::vector<LinkFinding> Run() {
    CollectCheckedFiles();
    for (const std::string& entry : in_.listedEntries) {
      const std::string bare = entry.substr(entry.find_last_of("\\/") + 1);
      if (!workspace::QualifiesForBook(bare)) includedKinds_.insert(KindSuffix(bare));
    }
    const std::string home = StoredName(in_.homePage);
    if (checked_.count(home) == 0) {
      findings_.push_back({FindingKind::Home, ForDisplay(in_.homePage), 0, {}});
    }
    std::vector<ScannedFile> scanned;
    for (const CheckedFile& file : filesInOrder_) {
      if (file.kind == FileKind::Other) {
        const Status readable = files_.CheckReadable(PathInProject(in_.projectFolder, file.entry));
        if (!readable && readable.error().kind == ErrorKind::NotFound) {
          findings_.push_back({FindingKind::Missing, file.display, 0, {}});
        }
        continue;
      }
      const Result<std::string> bytes =
          files_.ReadWholeFile(PathInProject(in_.projectFolder, file.entry));
      if (!bytes) {
        // Any other reason the build reports when it reads the file.
        if (bytes.error().kind == ErrorKind::NotFound) {
          findings_.push_back({FindingKind::Missing, file.display, 0, {}});
        }
        continue;
      }
      scanned.push_back(Scan(file, bytes.value()));
    }
    for (const ScannedFile& page : scanned) {
      for (const PageReference& reference : page.references) Resolve(page, reference);
    }
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const LinkFinding& a, const LinkFinding& b) { return a.page < b.page; });
    return std::move(findings_);
  }

 private:
  void CollectCheckedFiles() {
    for (const std::string& entry : in_.checkedEntries) {
      if (LeavesTheProjectFolder(entry)) {
        findings_.push_back({FindingKind::Outside, ForDisplay(entry), 0, {}});
        continue;
      }
      std::string stored = StoredName(entry);
      if (!checked_.emplace(stored, LinkTarget{}).second) continue;  // the same file twice
      filesInOrder_.push_back({entry, ForDisplay(entry), std::move(stored), KindOf(entry)});
    }
  }

  ScannedFile Scan(const CheckedFile& file, const std::string& bytes) {
    LinkTarget& self = checked_.at(file.stored);
    const std::size_t slash = file.display.rfind('\\');
    ScannedFile scanned{
        &file, &self, slash == std::string::npos ? "" : file.display.substr(0, slash), {}};
    if (file.kind == FileKind::StyleSheet) {
      scanned.references = ScanStyleSheet(bytes);
    } else {
      PageLinks links = ScanPage(bytes);
      scanned.references = std::move(links.references);
      self.page = true;
      for (const std::string& anchor : links.anchors) {
        self.places.push_back(NameHash(AsUtf8(anchor)));
      }
      std::sort(self.places.begin(), self.places.end());
    }
    for (PageReference& reference : scanned.references) {
      reference.target = AsUtf8(std::move(reference.target));
    }
    return scanned;
  }

  // A page saved in the ANSI code page writes its names in it.
  static std::string AsUtf8(std::string text) {
    return utf::IsValidUtf8(text) ? std::move(text) : text::AnsiToUtf8(text);
  }

  void Resolve(const ScannedFile& page, const PageReference& reference) {
    const auto report = [&](FindingKind kind) {
      findings_.push_back({kind, page.file->display, reference.line, reference.target});
    };
    std::string cleaned;
    const std::string_view url = Cleaned(reference.target, cleaned);
    if (url.empty()) return;
    if (url.front() == '/' || url.front() == '\\') return report(FindingKind::Outside);
    if (const std::optional<std::string_view> scheme = SchemeOf(url)) {
      // A drive letter looks like a scheme of one letter.
      if (scheme->size() == 1 || text::ToLower(*scheme) == "file") report(FindingKind::Outside);
      return;  // a web address, or mail: the viewer hands it on
    }
    const std::size_t hash = url.find('#');
    const std::string_view fragment = hash == std::string::npos ? "" : url.substr(hash + 1);
    std::string_view path = url.substr(0, hash);
    path = path.substr(0, path.find('?'));
    if (path.empty()) return CheckAnchor(*page.self, fragment, report);

    std::optional<std::string> decoded;
    if (path.find('%') != std::string_view::npos) {
      decoded = PercentDecoded(path);
      if (!decoded) return report(FindingKind::Missing);
      path = *decoded;
    }
    // The path in the book, from the page's folder, "\" between folders.
    std::string resolved = page.folder;
    std::string_view last;
    for (std::size_t start = 0; start <= path.size();) {
      const std::size_t end = std::min(path.find_first_of("/\\", start), path.size());
      last = path.substr(start, end - start);
      start = end + 1;
      if (last == "..") {
        if (resolved.empty()) return report(FindingKind::Outside);
        const std::size_t up = resolved.rfind('\\');
        resolved.erase(up == std::string::npos ? 0 : up);
      } else if (!last.empty() && last != ".") {
        if (!resolved.empty()) resolved += '\\';
        resolved += last;
      }
    }
    if (resolved.empty() || last.empty() || last == "." || last == "..") {
      return report(FindingKind::Missing);  // a folder, which the book cannot show
    }
    // As the viewer looks: the whole path, then the bare name, which is how
    // books of bare names have always been found.
    const std::size_t slash = resolved.rfind('\\');
    const std::string bare = slash == std::string::npos ? "" : resolved.substr(slash + 1);
    for (const std::string* candidate : {&std::as_const(resolved), &bare}) {
      if (candidate->empty()) continue;
      const auto target = checked_.find(StoredName(*candidate));
      if (target != checked_.end()) return CheckAnchor(target->second, fragment, report);
    }
    const std::string* onDisk = InProject(resolved);
    if (onDisk == nullptr && !bare.empty()) onDisk = InProject(bare);
    if (onDisk == nullptr) return report(FindingKind::Missing);
    // A file the author could check, or one no scan offered them.
    const bool offered =
        workspace::QualifiesForBook(*onDisk) || includedKinds_.count(KindSuffix(*onDisk)) > 0;
    report(offered ? FindingKind::Unchecked : FindingKind::Unlisted);
  }

  template <typename Report>
  static void CheckAnchor(const LinkTarget& target, std::string_view fragment,
                          const Report& report) {
    const auto has = [&](std::string_view name) {
      return std::binary_search(target.places.begin(), target.places.end(), NameHash(name));
    };
    if (fragment.empty() || !target.page || has(fragment)) return;
    const std::optional<std::string> decoded = PercentDecoded(fragment);
    if (decoded && has(*decoded)) return;
    if (text::ToLower(fragment) == "top") return;  // browsers scroll to the top without one
    report(FindingKind::Anchor);
  }

  // The name on disk of the project folder's file, found in any letter
  // case, or null: each folder is listed once.
  const std::string* InProject(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    std::string folder = in_.projectFolder;
    if (slash != std::string::npos) {
      folder = PathInProject(in_.projectFolder, path.substr(0, slash)) + fs::PathSeparator();
    }
    auto listed = listings_.find(folder);
    if (listed == listings_.end()) {
      std::map<std::string, std::string> names;  // by stored name
      const std::unique_ptr<fs::FileListing> listing = files_.ListNormalFiles(folder);
      for (std::string name = listing->Next(); !name.empty(); name = listing->Next()) {
        std::string stored = StoredName(name);
        names.emplace(std::move(stored), std::move(name));
      }
      listed = listings_.emplace(folder, std::move(names)).first;
    }
    const auto found = listed->second.find(StoredName(path.substr(slash + 1)));
    return found == listed->second.end() ? nullptr : &found->second;
  }

  fs::FileSystem& files_;
  const LinkCheckInput& in_;
  std::vector<CheckedFile> filesInOrder_;
  std::unordered_map<std::string, LinkTarget> checked_;  // by stored name
  std::map<std::string, std::map<std::string, std::string>> listings_;
  std::set<std::string> includedKinds_;  // KindSuffix of listed files the scan does not offer
  std::vector<LinkFinding> findings_;
};

}  // namespace

const char* KindWord(FindingKind kind) {
  switch (kind) {
    case FindingKind::Missing:
      return "missing";
    case FindingKind::Unchecked:
      return "unchecked";
    case FindingKind::Unlisted:
      return "unlisted";
    case FindingKind::Anchor:
      return "anchor";
    case FindingKind::Outside:
      return "outside";
    case FindingKind::Home:
      return "home";
  }
  return "missing";
}

std::vector<LinkFinding> CheckLinks(fs::FileSystem& files, const LinkCheckInput& input) {
  return LinkCheck(files, input).Run();
}

// Names and links come from the project's own files; a control character in
// one (a tab, a line break, an escape sequence) is shown as its code, so each
// finding keeps to its line in a message box and on a terminal alike.
std::string InPlainWords(const LinkFinding& f) {
  const std::string page = text::ForTerminal(f.page);
  if (f.kind == FindingKind::Home) {
    return "The home page " + page + " is not checked, so the e-book cannot open.";
  }
  if (f.target.empty()) {
    return f.kind == FindingKind::Outside
               ? page + " is outside the project folder."
               : page + " is checked but is no file of the project folder.";
  }
  const std::string where =
      page + ", line " + std::to_string(f.line) + ": \"" + text::ForTerminal(f.target) + "\"";
  switch (f.kind) {
    case FindingKind::Unchecked:
      return where + " is not checked, so the e-book will not carry it.";
    case FindingKind::Unlisted:
      return where + " is a kind of file the file list does not offer, so the e-book will not " +
             "carry it; list such files with vexmar-ebc new --include " +
             text::ForTerminal(KindSuffix(LinkedName(f.target))) + ".";
    case FindingKind::Anchor:
      return where + " names a place that its page does not have.";
    case FindingKind::Outside:
      return where + " leads outside the project folder, which an e-book cannot do.";
    default:
      return where + " is no file of the project folder.";
  }
}

}  // namespace vexmar::build
