#include "viewer/url_mapping.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "viewer/entry_index.h"
#include "viewer/latin1_decoder.h"
#include "viewer/mime_types.h"

namespace vexmar::viewer {
namespace {

using testing::Latin1ToUtf8;

// Escapes in the system's own code page, queries and fragments are fetched
// end to end under Wine (stub_under_wine_test.cpp); here, the decoding and
// the hostile and odd forms.
TEST(BookUrl, MapsUrlsToThePathTheyAskForAndNeverOutOfTheBook) {
  const std::pair<const char*, const char*> cases[] = {
      {"EBOOK://Book/index.htm", "index.htm"},
      {"ebook://book/page.htm#sec?not-a-query", "page.htm"},
      {"ebook://book/caf%C3%A9-%E9.htm", "caf\xC3\xA9-\xC3\xA9.htm"},  // both escapes in one
      {"ebook://book/\xC3\xBCmlaut.htm", "\xC3\xBCmlaut.htm"},         // unescaped UTF-8
      {"ebook://book/100%.htm", "100%.htm"},                           // a stray "%" stays
      {"ebook://book/./sub/../LOGO.GIF", "LOGO.GIF"},
      {"ebook://book/../../LOGO.GIF", "LOGO.GIF"},
      {"ebook://book/images\\logo.gif", "images/logo.gif"},
      {"ebook://book//a//b.htm", "a/b.htm"},
      {"ebook://book/a%2Fb.htm", "a/b.htm"},
  };
  for (const auto& [url, path] : cases) {
    EXPECT_EQ(BookPathFromUrl(url, Latin1ToUtf8), path) << url;
  }
  for (const char* url : {"ebook://book/", "ebook://book/?q", "ebook://book/%00.htm",
                          "ebook://other/INDEX.HTM", "http://book/INDEX.HTM", "ebook:INDEX.HTM"}) {
    EXPECT_EQ(BookPathFromUrl(url, Latin1ToUtf8), std::nullopt) << url;
  }
  // Built URLs escape what a browser would read as syntax, and map back.
  for (const std::string name : {"a&b #1?.htm", "\xC3\xBCmlaut.htm", "100%.txt", "images\\x.gif"}) {
    const std::string url = BookUrlFor(name);
    EXPECT_EQ(url.find_first_of(" #?&\\"), std::string::npos) << url;
    std::string expected = name;
    std::replace(expected.begin(), expected.end(), '\\', '/');
    EXPECT_EQ(BookPathFromUrl(url, Latin1ToUtf8), expected) << url;
  }
}

TEST(EntryLookup, FindsUpperCasedEntriesFromDecodedPathsOnly) {
  const uint8_t byte = 0;
  EntryIndex index;
  for (const char* name : {"CHAPTER 1.HTML", "LOGO.GIF", "\xC3\x9CMLAUT.HTM"}) {
    index.Add({name, &byte, 1});
  }
  // Names in any case, UTF-8 and sub-folder links are fetched under Wine.
  const std::pair<const char*, const char*> cases[] = {
      {"Logo.Gif", "LOGO.GIF"},
      {"chapter%201.html", ""},  // only decoded paths
      {"images/", ""},
  };
  for (const auto& [path, name] : cases) {
    const BookEntry* entry = index.FindForPath(path);
    EXPECT_EQ(entry != nullptr ? entry->name : "", name) << path;
  }
}

TEST(Links, ExternalLinksGoToTheDefaultBrowserWithTheirSchemeNeverToAProgram) {
  const std::pair<const char*, LinkKind> kinds[] = {
      {"ebook://book/A.HTM", LinkKind::kBook},       {"HTTP://example.com/", LinkKind::kExternal},
      {"mailto:a@example.com", LinkKind::kExternal}, {"about:blank", LinkKind::kOther},
      {"javascript:void(0)", LinkKind::kOther},      {"httpx://example.com/", LinkKind::kOther}};
  for (const auto& [url, kind] : kinds) EXPECT_EQ(ClassifyLink(url), kind) << url;
  const std::pair<const char*, const char*> targets[] = {
      {"", ""},
      {"example.com/books?id=1", "http://example.com/books?id=1"},
      {"HTTPS://example.com", "HTTPS://example.com"},
      {"author@example.com", "mailto:author@example.com"},
      {"example.com/~a@b", "http://example.com/~a@b"},
      {"mailto:author@example.com", "mailto:author@example.com"},
      {"calc.exe", "http://calc.exe"}};
  for (const auto& [address, target] : targets) EXPECT_EQ(WebLinkTarget(address), target);
  // Links without a scheme are relative to the page.
  for (const char* url : {"ebook://book/A.HTM", "mailto:a@b", "a+b-c.d:x"}) {
    EXPECT_TRUE(HasScheme(url)) << url;
  }
  for (const char* url : {"sub/page.htm", "../LOGO.GIF", "1abc:x", ":x", "a b:c", "page.htm#a:b"}) {
    EXPECT_FALSE(HasScheme(url)) << url;
  }
  // Each kind a book serves is fetched under Wine; here, how the extension is found.
  for (const char* name : {"README", "archive.htm.zip", "dir.htm/file"}) {
    EXPECT_EQ(MimeTypeFor(name), "application/octet-stream") << name;
  }
  for (const auto& [name, type] : {std::pair{"f.WOFF2", "font/woff2"},
                                   {"a.json", "application/json"},
                                   {"a.pdf", "application/pdf"},
                                   {"a.ttf", "font/ttf"}}) {
    EXPECT_EQ(MimeTypeFor(name), type);
  }
}

}  // namespace
}  // namespace vexmar::viewer
