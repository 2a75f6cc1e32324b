#include "build/link_check.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "build/ebook_image.h"
#include "build/page_links.h"
#include "build/project_bounds.h"
#include "platform/text/text.h"

namespace vexmar::build {
namespace {

enum class FileKind { Page, StyleSheet, Other };

FileKind KindOf(const std::string& entry) {
  const std::string lower = text::ToLower(entry);
  const auto endsWith = [&](std::string_view tail) {
    return lower.size() >= tail.size() &&
           lower.compare(lower.size() - tail.size(), std::string::npos, tail) == 0;
  };
  if (endsWith(".htm") || endsWith(".html")) return FileKind::Page;
  if (endsWith(".css")) return FileKind::StyleSheet;
  return FileKind::Other;
}

std::vector<std::string> Segments(std::string_view path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find_first_of("/\\", start), path.size());
    segments.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return segments;
}

std::string Joined(const std::vector<std::string>& segments, std::size_t count, char separator) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) out += separator;
    out += segments[i];
  }
  return out;
}

std::string ForDisplay(std::string name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%XX" runs decoded as the viewer decodes them: as UTF-8 where the bytes
// are UTF-8, else as the ANSI code page of an old page. Nothing when a NUL
// is asked for, which the viewer refuses.
std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::string bytes;
    while (at + 2 < text.size() && text[at] == '%' && HexValue(text[at + 1]) >= 0 &&
           HexValue(text[at + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(text[at + 1]) * 16 + HexValue(text[at + 2]));
      at += 3;
    }
    if (bytes.empty()) {
      out += text[at++];
      continue;
    }
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    out += utf::IsValidUtf8(bytes) ? bytes : text::AnsiToUtf8(bytes);
  }
  return out;
}

bool IsSchemeChar(char c, bool first) {
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

// The scheme of an absolute URL in lower case ("http"), or nothing for a
// relative one.
std::optional<std::string> SchemeOf(std::string_view url) {
  for (std::size_t i = 0; i < url.size(); ++i) {
    if (url[i] == ':' && i > 0) return text::ToLower(url.substr(0, i));
    if (!IsSchemeChar(url[i], i == 0)) return std::nullopt;
  }
  return std::nullopt;
}

// A URL as a browser takes it from an attribute: blanks around it dropped,
// tabs and line breaks inside it too.
std::string Cleaned(std::string_view target) {
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
  };
  while (!target.empty() && blank(target.front())) target.remove_prefix(1);
  while (!target.empty() && blank(target.back())) target.remove_suffix(1);
  std::string out;
  out.reserve(target.size());
  for (const char c : target) {
    if (c != '\t' && c != '\n' && c != '\r') out += c;
  }
  return out;
}

struct CheckedFile {
  std::string entry;
  std::string display;
  std::string stored;
  FileKind kind;
};

struct ScannedFile {
  const CheckedFile* file;
  std::vector<std::string> folder;  // the segments of its folder in the book
  std::vector<PageReference> references;
};

class LinkCheck {
 public:
  LinkCheck(fs::FileSystem& files, const LinkCheckInput& input) : files_(files), in_(input) {}

  std::vector<LinkFinding> Run() {
    CollectCheckedFiles();
    const std::string home = StoredEntryName(in_.homePage);
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
      std::string stored = StoredEntryName(entry);
      if (!checked_.insert(stored).second) continue;  // the same file twice
      filesInOrder_.push_back({entry, ForDisplay(entry), std::move(stored), KindOf(entry)});
    }
  }

  ScannedFile Scan(const CheckedFile& file, const std::string& bytes) {
    ScannedFile scanned{&file, Segments(file.entry), {}};
    scanned.folder.pop_back();
    if (file.kind == FileKind::StyleSheet) {
      scanned.references = ScanStyleSheet(bytes);
    } else {
      PageLinks links = ScanPage(bytes);
      scanned.references = std::move(links.references);
      std::unordered_set<std::string>& anchors = anchors_[file.stored];
      for (std::string& anchor : links.anchors) anchors.insert(AsUtf8(std::move(anchor)));
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
    const std::string url = Cleaned(reference.target);
    if (url.empty()) return;
    if (url.front() == '/' || url.front() == '\\') return report(FindingKind::Outside);
    if (const std::optional<std::string> scheme = SchemeOf(url)) {
      // A drive letter looks like a scheme of one letter.
      if (scheme->size() == 1 || *scheme == "file") report(FindingKind::Outside);
      return;  // a web address, or mail: the viewer hands it on
    }
    const std::size_t hash = url.find('#');
    const std::string fragment = hash == std::string::npos ? "" : url.substr(hash + 1);
    const std::string beforeHash = url.substr(0, hash);
    const std::string path = beforeHash.substr(0, beforeHash.find('?'));
    if (path.empty()) return CheckAnchor(page.file->stored, fragment, report);

    const std::optional<std::string> decoded = PercentDecoded(path);
    if (!decoded) return report(FindingKind::Missing);
    std::vector<std::string> segments = page.folder;
    const std::vector<std::string> written = Segments(*decoded);
    for (const std::string& segment : written) {
      if (segment == "..") {
        if (segments.empty()) return report(FindingKind::Outside);
        segments.pop_back();
      } else if (!segment.empty() && segment != ".") {
        segments.push_back(segment);
      }
    }
    const std::string& last = written.back();
    if (segments.empty() || last.empty() || last == "." || last == "..") {
      return report(FindingKind::Missing);  // a folder, which the book cannot show
    }
    // As the viewer looks: the whole path, then the bare name, which is how
    // books of bare names have always been found.
    std::vector<std::vector<std::string>> candidates{segments};
    if (segments.size() > 1) candidates.push_back({segments.back()});
    for (const auto& candidate : candidates) {
      const std::string stored = StoredEntryName(Joined(candidate, candidate.size(), '\\'));
      if (checked_.count(stored) > 0) return CheckAnchor(stored, fragment, report);
    }
    for (const auto& candidate : candidates) {
      if (InProject(candidate)) return report(FindingKind::Unchecked);
    }
    report(FindingKind::Missing);
  }

  template <typename Report>
  void CheckAnchor(const std::string& stored, const std::string& fragment, const Report& report) {
    const auto page = anchors_.find(stored);
    if (fragment.empty() || page == anchors_.end() || page->second.count(fragment) > 0) return;
    const std::optional<std::string> decoded = PercentDecoded(fragment);
    if (decoded && page->second.count(*decoded) > 0) return;
    if (text::ToLower(fragment) == "top") return;  // browsers scroll to the top without one
    report(FindingKind::Anchor);
  }

  // Whether the project folder holds the file, in any letter case: each
  // folder is listed once.
  bool InProject(const std::vector<std::string>& segments) {
    const std::size_t folderDepth = segments.size() - 1;
    std::string folder = in_.projectFolder;
    if (folderDepth > 0) {
      folder = PathInProject(in_.projectFolder, Joined(segments, folderDepth, '/')) +
               fs::PathSeparator();
    }
    auto listed = listings_.find(folder);
    if (listed == listings_.end()) {
      std::set<std::string> names;
      const std::unique_ptr<fs::FileListing> listing = files_.ListNormalFiles(folder);
      for (std::string name = listing->Next(); !name.empty(); name = listing->Next()) {
        names.insert(StoredEntryName(name));
      }
      listed = listings_.emplace(folder, std::move(names)).first;
    }
    return listed->second.count(StoredEntryName(segments.back())) > 0;
  }

  fs::FileSystem& files_;
  const LinkCheckInput& in_;
  std::vector<CheckedFile> filesInOrder_;
  std::unordered_set<std::string> checked_;  // stored names
  std::unordered_map<std::string, std::unordered_set<std::string>> anchors_;
  std::map<std::string, std::set<std::string>> listings_;
  std::vector<LinkFinding> findings_;
};

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

}  // namespace

const char* KindWord(FindingKind kind) {
  switch (kind) {
    case FindingKind::Missing:
      return "missing";
    case FindingKind::Unchecked:
      return "unchecked";
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

std::string InPlainWords(const LinkFinding& f) {
  if (f.kind == FindingKind::Home) {
    return "The home page " + f.page + " is not checked, so the e-book cannot open.";
  }
  if (f.target.empty()) {
    return f.kind == FindingKind::Outside
               ? f.page + " is outside the project folder."
               : f.page + " is checked but is no file of the project folder.";
  }
  const std::string where = f.page + ", line " + std::to_string(f.line) + ": " + Quoted(f.target);
  switch (f.kind) {
    case FindingKind::Unchecked:
      return where + " is not checked, so the e-book will not carry it.";
    case FindingKind::Anchor:
      return where + " names a place that its page does not have.";
    case FindingKind::Outside:
      return where + " leads outside the project folder, which an e-book cannot do.";
    default:
      return where + " is no file of the project folder.";
  }
}

}  // namespace vexmar::build
