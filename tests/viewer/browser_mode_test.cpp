#include "viewer/browser_mode.h"

#include <gtest/gtest.h>

#include "viewer/text_direction.h"

namespace vexmar::viewer {
namespace {

TEST(BrowserMode, AsksForTheNewestModeTheInstalledIeHas) {
  const std::tuple<const char*, const char*, uint32_t> cases[] = {
      // svcVersion, Version, the mode
      {"11.0.9600.20671", "9.11.9600.20671", 11000},  // IE11: "Version" says 9.11
      {"10.0.9200.16521", "9.10.9200.16521", 10000},
      {"", "9.0.8112.16421", 9000},
      {"", "8.0.7601.17514", 8000},
      {"", "", 11000},                 // nothing readable: newest
      {"garbage", "7.0.6000", 11000},  // IE7 has no such mode to ask for
      {"12.0", "", 11000},
  };
  for (const auto& [svc_version, version, value] : cases) {
    EXPECT_EQ(BrowserEmulationValue(svc_version, version), value) << svc_version << version;
  }
}

// A title takes the direction of its first letter; digits and emoji decide nothing.
TEST(ReadingOrder, TheFirstLetterDecides) {
  for (const char* rtl : {"مرحبا", "שלום", "2026 😀 كتاب", "« كتاب » Book"}) {
    EXPECT_TRUE(ReadsRightToLeft(rtl)) << rtl;
  }
  for (const char* ltr : {"Book كتاب", "日本の本", "Αθήνα", "2026", "", "😀"}) {
    EXPECT_FALSE(ReadsRightToLeft(ltr)) << ltr;
  }
}

}  // namespace
}  // namespace vexmar::viewer
