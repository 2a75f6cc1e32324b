// The file-level Begin / Update / Commit cycle: every failure leaves the
// target exactly as it was (what a commit writes, cli_test reads back).
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/resources/resource_update.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

namespace fs = std::filesystem;
using namespace testing;  // NOLINT: the helpers of this suite

class ResourceUpdateFile : public ::testing::Test {
 protected:
  void SetUp() override {
    VEXMAR_REQUIRE_FIXTURES();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    original_ = LoadFixture("exe32.exe");
    WriteFileBytes(target_.u8string(), original_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  Bytes Target() const { return ReadFileBytes(target_.u8string()); }
  fs::path Write(const std::string& name, const Bytes& bytes) const {
    WriteFileBytes((folder_ / name).u8string(), bytes);
    return folder_ / name;
  }
  Result<ResourceUpdate> Begin() {
    auto update = ResourceUpdate::Begin(target_);
    EXPECT_TRUE(update.ok()) << update.error().reason;
    return update;
  }

  const fs::path folder_ =
      fs::temp_directory_path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const fs::path target_ = folder_ / "book.exe";
  Bytes original_;
};

TEST_F(ResourceUpdateFile, DiscardFailuresAndAChangedTargetLeaveItUntouched) {
  const auto time_before = fs::last_write_time(target_);
  auto discarded = Begin();
  ASSERT_TRUE(discarded->Update(Id("CUSTOM"), Id("101"), 1033, ToBytes("x")).ok());
  discarded->Discard();
  EXPECT_FALSE(discarded->Commit().ok());
  // A source file that is gone, or has another size, by the time of the commit.
  for (const bool remove : {true, false}) {
    const fs::path page = Write("page.htm", ToBytes("short"));
    auto update = Begin();
    ASSERT_TRUE(update->UpdateFromFile(Id("2110"), Id("page.htm"), 1033, page).ok());
    if (remove) fs::remove(page);
    if (!remove) Write("page.htm", ToBytes("much longer"));
    auto report = update->Commit();
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.error().reason.find("left unchanged"), std::string::npos);
    EXPECT_EQ(report.error().file, page.u8string());  // the source is what failed
    fs::remove(page);
  }
  EXPECT_EQ(Target(), original_);
  EXPECT_EQ(fs::last_write_time(target_), time_before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1) << "a temporary file is left";

  // A target changed by someone else since Begin is not overwritten.
  auto update = Begin();
  ASSERT_TRUE(update->Update(Id("CUSTOM"), Id("101"), 1033, ToBytes("x")).ok());
  Bytes changed = original_;
  changed.push_back(0);
  WriteFileBytes(target_.u8string(), changed);
  auto report = update->Commit();
  ASSERT_FALSE(report.ok());
  EXPECT_NE(report.error().reason.find("changed after the update began"), std::string::npos);
  EXPECT_EQ(Target(), changed);
}

// A watched file and a late entry give the very bytes, PE checksum included,
// that the same entries handed over whole give: the watcher sees the file's
// bytes once, in order, before the late entry is made from them. A late entry
// of another size than announced fails the commit and changes nothing.
TEST_F(ResourceUpdateFile, AWatchedFileAndALateEntryWriteWhatTheirBytesWould) {
  const Bytes pageBytes = Pattern(1500 * 1000, 3);  // more than one piece of the copy
  const fs::path page = Write("page.htm", pageBytes);
  const auto summary = [](const Bytes& bytes) {  // an odd length, so a lone last byte
    return ToBytes("seen " + std::to_string(bytes.size()) + " " +
                   std::to_string(bytes.empty() ? 0 : bytes.back()));
  };
  Bytes whole;  // the book made from entries handed over whole
  for (const bool late : {false, true}) {
    WriteFileBytes(target_.u8string(), original_);
    auto update = Begin();
    Bytes seen;
    ByteWatcher watch;
    if (late)
      watch = [&](const uint8_t* data, size_t size) { seen.insert(seen.end(), data, data + size); };
    ASSERT_TRUE(update->UpdateFromFile(Id("2110"), Id("page.htm"), 1033, page, 0, watch).ok());
    if (late) {
      ASSERT_TRUE(update
                      ->UpdateLate(Id("VEXMAR"), Id("DIGEST"), 1033,
                                   static_cast<uint32_t>(summary(pageBytes).size()),
                                   [&]() -> Result<Bytes> { return summary(seen); })
                      .ok());
    } else {
      ASSERT_TRUE(update->Update(Id("VEXMAR"), Id("DIGEST"), 1033, summary(pageBytes)).ok());
    }
    ASSERT_TRUE(update->Commit().ok());
    EXPECT_TRUE(!late || seen == pageBytes);
    if (!late) whole = Target();
  }
  EXPECT_TRUE(Target() == whole);

  auto update = Begin();
  ASSERT_TRUE(update
                  ->UpdateLate(Id("VEXMAR"), Id("DIGEST"), 1033, 5,
                               []() -> Result<Bytes> { return ToBytes("four"); })
                  .ok());
  auto report = update->Commit();
  ASSERT_FALSE(report.ok());
  EXPECT_NE(report.error().reason.find("4 bytes instead of the 5"), std::string::npos);
  EXPECT_TRUE(Target() == whole);
}

}  // namespace
}  // namespace vexmar::resources
