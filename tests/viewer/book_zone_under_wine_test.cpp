// The zone urlmon puts the book's pages in, with the book's protocol
// registered in this process as the viewer registers it.
#include <gtest/gtest.h>
#include <urlmon.h>
#include <windows.h>

#include "viewer/book_protocol_win32.h"

namespace vexmar::viewer {
namespace {

// Scripts of a page in the Local Machine zone may read any file of the disk.
TEST(BookZoneUnderWine, PagesAreInTheInternetZoneNotTheLocalMachines) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  EntryIndex entries;
  BookProtocolRegistration registration(entries);  // OLE stays initialized while it lives
  ASSERT_EQ(registration.status(), S_OK);
  IInternetSecurityManager* manager = nullptr;
  ASSERT_EQ(CoInternetCreateSecurityManager(nullptr, &manager, 0), S_OK);
  DWORD zone = URLZONE_INVALID;
  EXPECT_EQ(manager->MapUrlToZone(L"ebook://book/js/menu.js", &zone, 0), S_OK);
  EXPECT_EQ(zone, static_cast<DWORD>(URLZONE_INTERNET));
  manager->Release();
}

}  // namespace
}  // namespace vexmar::viewer
