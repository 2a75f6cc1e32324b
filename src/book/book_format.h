#pragma once
// The entries an e-book carries in the resource table of its copy of the
// viewer: the contract between the compiler, which writes them, and the
// viewer, which reads them. Both sides include this header so they cannot
// drift apart.
//
//   type "CUSTOM", name 101, language 1033   the settings record
//   type 2110, name = upper-cased file name  one entry per file of the book,
//            language 1033                   the file's bytes, unchanged
//   type "VEXMAR", name "DIGEST", 1033      the SHA-256 of each entry above
//   type "VEXMAR", name "CONTENTS", 1033    the pages in reading order, titled
//   type "VEXMAR", name "SEARCH", 1033      the full-text index of the pages
//
// The settings record is one line of text in the ANSI code page, without a
// terminating zero or line end: nine fields joined by ":", never quoted or
// escaped, so no field can hold a ":". A record with a character the
// builder's ANSI code page cannot hold is UTF-8 instead, behind the UTF-8
// byte-order mark (kUtf8Mark), so it reads the same on every machine.
//
//   title:author:index page:build date:link text:link address:blank:blank:blank
//
// The index page is the file name as the author typed it (any letter case);
// the build date is text in the builder's short date format and is shown as
// written; link text and address may be empty; the last three fields are
// the literal "blank".
#include <cstddef>
#include <cstdint>

namespace vexmar::book_format {

inline constexpr char kSettingsType[] = "CUSTOM";
inline constexpr uint16_t kSettingsId = 101;
inline constexpr uint16_t kFileType = 2110;
// US English; the viewer also accepts the record in any other language.
inline constexpr uint16_t kLanguage = 1033;

inline constexpr char kSeparator = ':';
inline constexpr size_t kFieldCount = 9;
inline constexpr char kReservedValue[] = "blank";
// Starts a record written in UTF-8; a record without it is ANSI text.
inline constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// Positions of the fields, counted from 0.
enum Field : size_t {
  kTitle = 0,
  kAuthor = 1,
  kIndexPage = 2,
  kBuildDate = 3,
  kLinkText = 4,
  kLinkAddress = 5,
  kReserved1 = 6,
  kReserved2 = 7,
  kReserved3 = 8,
};
// The digest: the SHA-256 of every entry above and of the entries other
// parts of the build add, one text line each (docs/book-format.md).
inline constexpr char kDigestType[] = "VEXMAR";
inline constexpr char kDigestName[] = "DIGEST";
inline constexpr char kDigestHeader[] = "vexmar-digest";
inline constexpr char kDigestEnd[] = "end";
inline constexpr unsigned kDigestVersion = 1;
// Room for far more than the 32,767 files a project holds, each with a long
// name; a reader refuses anything larger before reading it.
inline constexpr size_t kMaxDigestBytes = 16 * 1024 * 1024;

// The reader's entries: the contents (pages in reading order with their
// titles) and the full-text index. Books without them still open; the viewer
// then works both out from the pages. Layouts in docs/book-format.md.
inline constexpr char kVexmarType[] = "VEXMAR";
inline constexpr char kContentsName[] = "CONTENTS";
inline constexpr char kSearchName[] = "SEARCH";

static_assert(kReserved3 + 1 == kFieldCount, "every field has a position");
static_assert(kFileType == 0x083E, "the file entries' type number");

}  // namespace vexmar::book_format
