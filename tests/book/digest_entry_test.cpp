#include "book/digest_entry.h"

#include <gtest/gtest.h>

namespace vexmar::book {
namespace {

std::vector<DigestedEntry> Sample() {
  return {{"CUSTOM", "#101", Sha256Of("record")},
          {"#2110", "CHAPTER 1.HTM", Sha256Of("<p>one</p>")},
          {"#2110", "IMAGES\\LOGO.GIF", Sha256Of("GIF89a")}};
}

TEST(DigestEntry, ReadsBackWhatTheBuildWrites) {
  const std::string written = WriteDigestEntry(Sample());
  EXPECT_EQ(written.substr(0, 16), "vexmar-digest 1\n");
  EXPECT_EQ(written.substr(written.size() - 6), "end 3\n");
  const DigestReading read = ParseDigestEntry(written);
  ASSERT_EQ(read.state, DigestState::kReadable) << read.reason;
  ASSERT_EQ(read.entries.size(), 3u);
  EXPECT_EQ(read.entries[1].name, "CHAPTER 1.HTM");
  EXPECT_EQ(read.entries[2].sha256, Sha256Of("GIF89a"));
  EXPECT_EQ(ParseDigestEntry(WriteDigestEntry({})).state, DigestState::kReadable);
}

TEST(DigestEntry, RefusesADamagedDigestAndSetsANewerOneAside) {
  const std::string good = WriteDigestEntry(Sample());
  const std::string line2 = good.substr(16, good.find('\n', 16) - 16 + 1);
  std::string repeated = good;
  repeated.insert(16, line2);
  repeated.replace(repeated.size() - 2, 1, "4");
  const std::string damaged[] = {
      good.substr(0, good.size() - 1),                     // cut inside the last line
      good.substr(0, good.find("end")),                    // cut before the count
      good.substr(0, 16) + good.substr(good.find("end")),  // entry lines dropped
      std::string("x") + good,                             // not a digest
      repeated,                                            // one entry named twice
      "vexmar-digest 1\nzz " + good.substr(19),
      "vexmar-digest 1\n" + std::string(64, 'a') + " #2110 A\tB\nend 1\n",
      "vexmar-digest 1\n" + std::string(64, 'a') + " #70000 A\nend 1\n",
      "vexmar-digest one\nend 0\n",
      std::string(17 * 1024 * 1024, '\n'),
  };
  for (size_t i = 0; i < std::size(damaged); ++i) {
    const DigestReading read = ParseDigestEntry(damaged[i]);
    EXPECT_EQ(read.state, DigestState::kDamaged) << i;
    EXPECT_FALSE(read.reason.empty()) << i;
  }
  EXPECT_EQ(ParseDigestEntry("vexmar-digest 2\nwhatever comes\n").state, DigestState::kNewer);
}

}  // namespace
}  // namespace vexmar::book
