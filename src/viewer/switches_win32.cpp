#include "viewer/switches_win32.h"

#include <urlmon.h>
#include <windows.h>

#include "book/book_format.h"
#include "viewer/book_loader_win32.h"
#include "viewer/book_protocol_win32.h"
#include "viewer/book_verify.h"
#include "viewer/console_win32.h"
#include "viewer/extract_win32.h"
#include "viewer/fetch_win32.h"
#include "viewer/reader_book.h"
#include "viewer/url_mapping.h"
#include "viewer/win32_text.h"

namespace vexmar::viewer {
namespace {

constexpr DWORD kFetchTimeoutMs = 30000;
// More results than anyone reads in a list; a script asks a narrower query.
constexpr size_t kSearchLimit = 1000;

std::string HexStatus(HRESULT status) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text = "0x";
  const auto bits = static_cast<unsigned long>(status);
  for (int shift = 28; shift >= 0; shift -= 4) {
    text += kHex[(bits >> shift) & 0xFu];
  }
  return text;
}

// Opens the output; a /out file that cannot be created is a failure of its own.
bool OpenOutput(const Options& options, Output& output) {
  if (output.ok()) {
    return true;
  }
  if (!options.outPath.empty()) {
    PrintError("Cannot write \"" + options.outPath + "\".");
  }
  return false;
}

void WarnAboutDamage(const BookImage& book) {
  for (const std::string& damaged : book.damaged) {
    PrintError("Damaged entry left out: " + damaged);
  }
}

int RunList(const BookImage& book, Output& output) {
  for (const BookEntry& entry : book.entries.entries()) {
    output.WriteText(entry.name + "\t" + std::to_string(entry.size) + "\r\n");
    if (entry.size == 0) {
      PrintError("Entry \"" + entry.name + "\" is empty.");
    }
  }
  WarnAboutDamage(book);
  return book.damaged.empty() ? kExitOk : kExitBadBook;
}

// The exit code of a file that is a bare stub or has no usable record, said
// on standard error; kExitOk (0) for a book.
int RefusedUnlessABook(const BookCheck& check) {
  if (check.status == BookStatus::kBareStub) {
    PrintError(check.message);
    return kExitNotABook;
  }
  if (check.status == BookStatus::kNoRecord || check.status == BookStatus::kBadRecord) {
    PrintError(check.message);
    return kExitBadBook;
  }
  return kExitOk;
}

int RunSettings(const BookImage& book, Output& output) {
  const BookCheck check = CheckBook(book, AnsiToUtf8);
  if (const int refused = RefusedUnlessABook(check)) return refused;
  for (const std::string& field : check.record.fields) {
    output.WriteText(field + "\r\n");
  }
  if (check.status != BookStatus::kReadable) {
    PrintError(check.message);
    return kExitBadBook;
  }
  return kExitOk;
}

int RunExtract(const BookImage& book, const std::string& folder, Output& output) {
  if (book.entries.empty() && !book.record) {
    PrintError(kBareStubMessage);
    return kExitNotABook;
  }
  const ExtractReport report = ExtractEntries(book.entries, Widen(folder));
  if (!report.folderOk) {
    PrintError("Cannot create the folder \"" + folder + "\".");
    return kExitWriteFailed;
  }
  output.WriteText("Wrote " + std::to_string(report.written) + " files to " + folder + "\r\n");
  for (const std::string& name : report.empty) {
    PrintError("Entry \"" + name + "\" is empty; wrote an empty file.");
  }
  for (const std::string& refusal : report.refused) {
    PrintError("Refused entry " + refusal);
  }
  for (const std::string& name : report.failed) {
    PrintError("Cannot write \"" + name + "\".");
  }
  WarnAboutDamage(book);
  if (!report.failed.empty()) {
    return kExitWriteFailed;
  }
  return report.refused.empty() ? kExitOk : kExitRefused;
}

int RunFetch(const BookImage& book, const std::string& url, Output& output) {
  // A relative URL is taken as a link on the index page.
  std::wstring target = Widen(url);
  if (!HasScheme(url)) {
    const BookCheck check = CheckBook(book, AnsiToUtf8);
    const std::string base =
        check.record.index_page().empty() ? kBookUrlPrefix : BookUrlFor(check.record.index_page());
    target = CombineUrl(Widen(base), target);
  }
  // Only the book's own pages: anything else would go to the network.
  if (ClassifyLink(Narrow(target)) != LinkKind::kBook) {
    PrintError("/fetch serves the book's own pages only (" + std::string(kBookUrlPrefix) +
               "...), not " + Narrow(target) + ".");
    return kExitUsage;
  }
  const HRESULT ole = OleInitialize(nullptr);
  int exit_code = kExitOk;
  {
    EntryVerifier verifier(book);
    BookProtocolRegistration registration(book.entries, &verifier);
    if (FAILED(registration.status())) {
      PrintError("Cannot register the e-book protocol: " + HexStatus(registration.status()));
      exit_code = kExitFailed;
    } else {
      const FetchResult fetched = FetchUrl(target, kFetchTimeoutMs);
      if (fetched.status == INET_E_RESOURCE_NOT_FOUND) {
        PrintError("No page at " + Narrow(target));
        exit_code = kExitNotFound;
      } else if (FAILED(fetched.status)) {
        PrintError("Fetching " + Narrow(target) + " failed: " + HexStatus(fetched.status));
        exit_code = kExitFailed;
      } else {
        output.WriteText("Location: " + Narrow(target) + "\r\nContent-Type: " + fetched.mimeType +
                         "\r\nContent-Length: " + std::to_string(fetched.bytes.size()) +
                         "\r\n\r\n");
        output.WriteBytes(fetched.bytes);
      }
    }
  }
  if (SUCCEEDED(ole)) {
    OleUninitialize();
  }
  return exit_code;
}

int RunVerify(const BookImage& book, Output& output) {
  const BookCheck check = CheckBook(book, AnsiToUtf8);
  if (const int refused = RefusedUnlessABook(check)) return refused;
  const OtherEntryLookup others = {
      [](const void* module, std::string_view type, std::string_view name) {
        return FindOtherEntry(static_cast<HMODULE>(const_cast<void*>(module)), type, name);
      },
      GetModuleHandleW(nullptr)};
  const VerifyReport report = VerifyBook(book, others);
  for (const std::string& line : report.lines) {
    output.WriteText(line + "\r\n");
  }
  return report.whole ? kExitOk : kExitDamaged;
}

// The contents and the search need the index page too: it starts the
// reading order.
int RefusedUnlessReadable(const BookCheck& check) {
  if (const int refused = RefusedUnlessABook(check)) return refused;
  if (check.status != BookStatus::kReadable) {
    PrintError(check.message);
    return kExitBadBook;
  }
  return kExitOk;
}

ReaderContents ContentsOf(const BookImage& book, const BookCheck& check) {
  const HMODULE self = GetModuleHandleW(nullptr);
  return BookContents(book.entries, *check.indexPage,
                      FindOtherEntry(self, book_format::kVexmarType, book_format::kContentsName),
                      AnsiToUtf8);
}

int RunContents(const BookImage& book, Output& output) {
  const BookCheck check = CheckBook(book, AnsiToUtf8);
  if (const int refused = RefusedUnlessReadable(check)) return refused;
  for (const ReaderPage& page : ContentsOf(book, check)) {
    output.WriteText(ContentsLine(page) + "\r\n");
  }
  return kExitOk;
}

// A book made without its index gets one built here, as the window builds
// it on the first search.
int RunSearch(const BookImage& book, const std::string& query, Output& output) {
  const BookCheck check = CheckBook(book, AnsiToUtf8);
  if (const int refused = RefusedUnlessReadable(check)) return refused;
  const ReaderContents contents = ContentsOf(book, check);
  const std::optional<std::string_view> stored =
      FindOtherEntry(GetModuleHandleW(nullptr), book_format::kVexmarType, book_format::kSearchName);
  Result<book::SearchIndex> index = Error{""};
  if (stored) {
    index = book::SearchIndex::Open(*stored);
    if (!index)
      PrintError("The book's search index is damaged (" + index.error().reason +
                 "); searching its pages instead.");
  }
  std::string built;
  if (!index) {
    built = BuildSearchEntry(contents, AnsiToUtf8);
    index = book::SearchIndex::Open(built);
  }
  if (!index) {
    PrintError("Cannot search this book: " + index.error().reason);
    return kExitFailed;
  }
  for (const FoundPage& found :
       SearchBook(index.value(), query, book.entries, contents, AnsiToUtf8, kSearchLimit)) {
    output.WriteText(SearchLine(found) + "\r\n");
  }
  return kExitOk;
}

}  // namespace

int RunSwitch(const Options& options, const BookImage& book) {
  Output output = Output::Open(options.outPath);
  if (!OpenOutput(options, output)) {
    return kExitWriteFailed;
  }
  switch (options.command) {
    case Command::kList:
      return RunList(book, output);
    case Command::kSettings:
      return RunSettings(book, output);
    case Command::kExtract:
      return RunExtract(book, options.argument, output);
    case Command::kFetch:
      return RunFetch(book, options.argument, output);
    case Command::kVerify:
      return RunVerify(book, output);
    case Command::kContents:
      return RunContents(book, output);
    case Command::kSearch:
      return RunSearch(book, options.argument, output);
    case Command::kHelp:
      output.WriteText(kUsageText);
      return kExitOk;
    case Command::kShow:
      break;
  }
  return kExitUsage;
}

}  // namespace vexmar::viewer
