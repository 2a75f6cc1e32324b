#include "viewer/url_mapping.h"

#include <gtest/gtest.h>

#include "viewer/entry_index.h"
#include "viewer/latin1_decoder.h"
#include "viewer/mime_types.h"

namespace vexmar::viewer {
namespace {

using testing::Latin1ToUtf8;

TEST(BookUrl, MapsUrlsToThePathTheyAskFor) {
  struct Case {
    const char* url;
    const char* path;  // nullptr: not a page of the book
  };
  const Case cases[] = {
      {"ebook://book/INDEX.HTM", "INDEX.HTM"},
      {"EBOOK://Book/index.htm", "index.htm"},
      {"ebook://book/chapter%201.html", "chapter 1.html"},
      {"ebook://book/chapter%201.html?x=1#top", "chapter 1.html"},
      {"ebook://book/page.htm#sec?not-a-query", "page.htm"},
      {"ebook://book/%C3%BCbung.htm",
       "\xC3\xBC"
       "bung.htm"},  // UTF-8 escapes
      {"ebook://book/%FCbung.htm",
       "\xC3\xBC"
       "bung.htm"},                                                    // an ANSI escape
      {"ebook://book/caf%C3%A9-%E9.htm", "caf\xC3\xA9-\xC3\xA9.htm"},  // both in one
      {"ebook://book/\xC3\xBC"
       "bung.htm",
       "\xC3\xBC"
       "bung.htm"},                           // unescaped UTF-8
      {"ebook://book/100%.htm", "100%.htm"},  // a stray "%" stays
      {"ebook://book/%4", "%4"},
      {"ebook://book/./sub/../LOGO.GIF", "LOGO.GIF"},
      {"ebook://book/../../LOGO.GIF", "LOGO.GIF"},
      {"ebook://book/images\\logo.gif", "images/logo.gif"},
      {"ebook://book//a//b.htm", "a/b.htm"},
      {"ebook://book/a%2Fb.htm", "a/b.htm"},
      {"ebook://book/", nullptr},
      {"ebook://book/?q", nullptr},
      {"ebook://book/%00.htm", nullptr},
      {"ebook://other/INDEX.HTM", nullptr},
      {"http://book/INDEX.HTM", nullptr},
      {"ebook:INDEX.HTM", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const std::optional<std::string> path = BookPathFromUrl(c.url, Latin1ToUtf8);
    if (c.path == nullptr) {
      EXPECT_FALSE(path.has_value()) << *path;
    } else {
      ASSERT_TRUE(path.has_value());
      EXPECT_EQ(*path, c.path);
    }
  }
}

TEST(BookUrl, BuiltUrlsMapBackToTheirName) {
  for (const char* name : {"index.htm", "Chapter 1.html", "a&b #1?.htm",
                           "\xC3\xBC"
                           "bung.htm",
                           "100%.txt", "images\\logo.gif"}) {
    SCOPED_TRACE(name);
    const std::string url = BookUrlFor(name);
    EXPECT_EQ(url.find_first_of(" #?&\\"), std::string::npos) << url;
    const std::optional<std::string> path = BookPathFromUrl(url, Latin1ToUtf8);
    ASSERT_TRUE(path.has_value()) << url;
    std::string expected = name;
    for (char& c : expected) {
      c = c == '\\' ? '/' : c;
    }
    EXPECT_EQ(*path, expected);
  }
}

TEST(EntryLookup, FindsUpperCasedEntriesFromLinksInAnyCase) {
  const uint8_t byte = 0;
  EntryIndex index;
  for (const char* name : {"INDEX.HTM", "CHAPTER 1.HTML", "LOGO.GIF",
                           "\xC3\x9C"
                           "BUNG.HTM",
                           "STRA\xC3\x9F"
                           "E.HTM",
                           "\xD0\x9A\xD0\x9D\xD0\x98\xD0\x93\xD0\x90.HTM"}) {
    index.Add({name, &byte, 1});
  }
  struct Case {
    const char* path;
    const char* entry;  // nullptr: not found
  };
  const Case cases[] = {
      {"index.htm", "INDEX.HTM"},
      {"Index.Htm", "INDEX.HTM"},
      {"chapter 1.html", "CHAPTER 1.HTML"},
      {"images/logo.gif", "LOGO.GIF"},  // a sub-folder link finds the bare name
      {"\xC3\xBC"
       "bung.htm",
       "\xC3\x9C"
       "BUNG.HTM"},  // ü finds Ü
      {"stra\xC3\x9F"
       "e.htm",
       "STRA\xC3\x9F"
       "E.HTM"},  // ß stays ß
      {"\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0.htm",
       "\xD0\x9A\xD0\x9D\xD0\x98\xD0\x93\xD0\x90.HTM"},  // Cyrillic
      {"chapter%201.html", nullptr},                     // lookups take decoded paths only
      {"missing.htm", nullptr},
      {"images/", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const BookEntry* entry = index.FindForPath(c.path);
    if (c.entry == nullptr) {
      EXPECT_EQ(entry, nullptr);
    } else {
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->name, c.entry);
    }
  }
}

TEST(Links, ExternalLinksGoToTheDefaultBrowser) {
  EXPECT_EQ(ClassifyLink("ebook://book/A.HTM"), LinkKind::kBook);
  EXPECT_EQ(ClassifyLink("HTTP://example.com/"), LinkKind::kExternal);
  EXPECT_EQ(ClassifyLink("https://example.com/"), LinkKind::kExternal);
  EXPECT_EQ(ClassifyLink("mailto:a@example.com"), LinkKind::kExternal);
  EXPECT_EQ(ClassifyLink("about:blank"), LinkKind::kOther);
  EXPECT_EQ(ClassifyLink("javascript:void(0)"), LinkKind::kOther);
  EXPECT_EQ(ClassifyLink("httpx://example.com/"), LinkKind::kOther);
}

TEST(Links, WebLinkAddressesGetTheirScheme) {
  struct Case {
    const char* address;
    const char* target;
  };
  const Case cases[] = {
      {"", ""},
      {"www.example.com", "http://www.example.com"},
      {"example.com/books?id=1", "http://example.com/books?id=1"},
      {"http://example.com", "http://example.com"},
      {"HTTPS://example.com", "HTTPS://example.com"},
      {"author@example.com", "mailto:author@example.com"},
      {"example.com/~a@b", "http://example.com/~a@b"},
      {"mailto:author@example.com", "mailto:author@example.com"},
      {"calc.exe", "http://calc.exe"},  // never a program to run
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(WebLinkTarget(c.address), c.target);
  }
}

TEST(Links, RelativeUrlsHaveNoScheme) {
  for (const char* url : {"ebook://book/A.HTM", "http://x", "mailto:a@b", "a+b-c.d:x"}) {
    EXPECT_TRUE(HasScheme(url)) << url;
  }
  for (const char* url :
       {"A.HTM", "sub/page.htm", "../LOGO.GIF", "1abc:x", ":x", "a b:c", "page.htm#a:b"}) {
    EXPECT_FALSE(HasScheme(url)) << url;
  }
}

TEST(MimeTypes, FollowTheExtensionInAnyCase) {
  struct Case {
    const char* name;
    const char* type;
  };
  const Case cases[] = {
      {"INDEX.HTM", "text/html"},
      {"a.html", "text/html"},
      {"NOTES.TXT", "text/plain"},
      {"STYLE.CSS", "text/css"},
      {"LOGO.GIF", "image/gif"},
      {"P.JPG", "image/jpeg"},
      {"p.jpeg", "image/jpeg"},
      {"P.PNG", "image/png"},
      {"B.BMP", "image/bmp"},
      {"README", "application/octet-stream"},
      {"archive.htm.zip", "application/octet-stream"},
      {"dir.htm/file", "application/octet-stream"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MimeTypeFor(c.name), c.type);
  }
}

}  // namespace
}  // namespace vexmar::viewer
