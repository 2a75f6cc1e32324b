// Which zone urlmon puts the book's pages in, asked of urlmon itself with
// the book's protocol registered in this process, as the viewer does.
#include <gtest/gtest.h>
#include <urlmon.h>
#include <windows.h>

#include <string>

#include "viewer/book_protocol_win32.h"

namespace vexmar::viewer {
namespace {

// Scripts of a page in the Local Machine zone may read any file of the
// disk; the book's run in the Internet zone, as an origin of their own.
TEST(BookZoneUnderWine, PagesAreAnOriginOfTheirOwnInTheInternetZone) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  {
    EntryIndex entries;
    BookProtocolRegistration registration(entries);
    ASSERT_EQ(registration.status(), S_OK);
    IInternetSecurityManager* manager = nullptr;
    ASSERT_EQ(CoInternetCreateSecurityManager(nullptr, &manager, 0), S_OK);
    for (const wchar_t* url : {L"ebook://book/INDEX.HTM", L"ebook://book/js/menu.js"}) {
      DWORD zone = URLZONE_INVALID;
      EXPECT_EQ(manager->MapUrlToZone(url, &zone, 0), S_OK);
      EXPECT_EQ(zone, static_cast<DWORD>(URLZONE_INTERNET));
      BYTE id[512];
      DWORD size = sizeof id;
      ASSERT_EQ(manager->GetSecurityId(url, id, &size, 0), S_OK);
      // The scheme and host, then the zone; a local file's would be "file:".
      ASSERT_GE(size, 10u);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(id), 6), "ebook:");
      EXPECT_EQ(id[size - 4], URLZONE_INTERNET);
    }
    manager->Release();
  }
  OleUninitialize();
}

}  // namespace
}  // namespace vexmar::viewer
