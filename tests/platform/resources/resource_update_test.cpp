// The file-level Begin / Update / Commit cycle: what reaches the disk, and
// that every failure leaves the target exactly as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/resources/resource_update.h"
#include "resource_test_support.h"

namespace vexmar::resources {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::Id;

class ResourceUpdateFile : public ::testing::Test {
 protected:
  void SetUp() override {
    VEXMAR_REQUIRE_FIXTURES();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("vexmar-resources-" + std::string(info->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    target_ = folder_ / "book.exe";
    original_ = testing::LoadFixture("exe32.exe");
    testing::WriteFileBytes(target_.u8string(), original_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  Bytes Target() const { return testing::ReadFileBytes(target_.u8string()); }
  size_t FilesInFolder() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }
  fs::path Source(const std::string& name, const Bytes& bytes) const {
    const fs::path path = folder_ / name;
    testing::WriteFileBytes(path.u8string(), bytes);
    return path;
  }

  fs::path folder_;
  fs::path target_;
  Bytes original_;
};

TEST_F(ResourceUpdateFile, BeginRefusesWhatCannotBeUpdated) {
  Source("empty.exe", {});
  Source("notes.txt", Bytes(200, 'x'));
  const std::pair<const char*, const char*> cases[] = {{"missing.exe", "does not exist"},
                                                       {"empty.exe", "too short"},
                                                       {"notes.txt", "no MZ signature"}};
  for (const auto& [name, reason] : cases) {
    for (const bool delete_existing : {false, true}) {
      auto update = ResourceUpdate::Begin(folder_ / name, delete_existing);
      ASSERT_FALSE(update.ok()) << name;
      EXPECT_NE(update.error().reason.find(reason), std::string::npos) << update.error().reason;
    }
  }
}

TEST_F(ResourceUpdateFile, DiscardFailuresAndAChangedTargetLeaveItUntouched) {
  const auto time_before = fs::last_write_time(target_);
  {
    auto update = ResourceUpdate::Begin(target_);
    ASSERT_TRUE(update.ok());
    ASSERT_TRUE(update->Update(Id("CUSTOM"), Id("101"), 1033, testing::ToBytes("x")).ok());
    update->Discard();
    EXPECT_FALSE(update->Commit().ok());
  }
  // A source file that is gone, or has another size, by the time of the commit.
  for (const bool remove : {true, false}) {
    const fs::path page = Source("page.htm", testing::ToBytes("short"));
    auto update = ResourceUpdate::Begin(target_);
    ASSERT_TRUE(update.ok());
    ASSERT_TRUE(update->UpdateFromFile(Id("2110"), Id("page.htm"), 1033, page).ok());
    if (remove) {
      fs::remove(page);
    } else {
      Source("page.htm", testing::ToBytes("much longer"));
    }
    auto report = update->Commit();
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.error().reason.find("left unchanged"), std::string::npos);
    fs::remove(page);
  }
  EXPECT_EQ(Target(), original_);
  EXPECT_EQ(fs::last_write_time(target_), time_before);
  EXPECT_EQ(FilesInFolder(), 1u) << "a temporary file was left behind";

  // A target changed by someone else since Begin is not overwritten.
  auto update = ResourceUpdate::Begin(target_);
  ASSERT_TRUE(update.ok());
  ASSERT_TRUE(update->Update(Id("CUSTOM"), Id("101"), 1033, testing::ToBytes("x")).ok());
  Bytes changed = original_;
  changed.push_back(0);
  testing::WriteFileBytes(target_.u8string(), changed);
  auto report = update->Commit();
  ASSERT_FALSE(report.ok());
  EXPECT_NE(report.error().reason.find("changed after the update began"), std::string::npos);
  EXPECT_EQ(Target(), changed);
}

TEST_F(ResourceUpdateFile, CommitWritesEntriesFromBytesAndFiles) {
  const Bytes picture = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x00, 0xFF};
  const fs::path source = Source("Pic.gif", picture);
  auto update = ResourceUpdate::Begin(target_);
  ASSERT_TRUE(update.ok());
  ASSERT_TRUE(update->Update(Id("CUSTOM"), Id("101"), 1033, testing::ToBytes("T:A:i.htm")).ok());
  ASSERT_TRUE(update->UpdateFromFile(Id("2110"), Id("Pic.gif"), 1033, source).ok());
  auto report = update->Commit();
  ASSERT_TRUE(report.ok()) << report.error().reason;
  EXPECT_FALSE(update->Update(Id("2110"), Id("late"), 1033, {}).ok());

  const Bytes written = Target();
  EXPECT_EQ(report.value().file_size, written.size());
  EXPECT_EQ(testing::ValidateImage(written), std::vector<std::string>{});
  testing::ExpectFindsAll(written, {{"\"CUSTOM\"", "101", 1033, 0, testing::ToBytes("T:A:i.htm")},
                                    {"2110", "\"PIC.GIF\"", 1033, 0, picture}});
  EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(ResourceUpdateFile, OneCommitPerEntryGivesTheSameBytesAsOneBatch) {
  // The assembly may commit once per file or once per book; a rebuild of
  // the same book must give the same bytes either way.
  auto name = [](int i) { return Id("file" + std::to_string(i) + ".htm"); };
  auto data = [](int i) { return Bytes(static_cast<size_t>(100 * i), static_cast<uint8_t>(i)); };
  for (int i = 0; i < 12; ++i) {
    auto update = ResourceUpdate::Begin(target_);
    ASSERT_TRUE(update.ok());
    ASSERT_TRUE(update->Update(Id("2110"), name(i), 1033, data(i)).ok());
    ASSERT_TRUE(update->Commit().ok());
  }
  const Bytes one_by_one = Target();

  testing::WriteFileBytes(target_.u8string(), original_);
  auto update = ResourceUpdate::Begin(target_);
  ASSERT_TRUE(update.ok());
  for (int i = 11; i >= 0; --i)
    ASSERT_TRUE(update->Update(Id("2110"), name(i), 1033, data(i)).ok());
  ASSERT_TRUE(update->Commit().ok());
  EXPECT_EQ(Target(), one_by_one);
}

}  // namespace
}  // namespace vexmar::resources
