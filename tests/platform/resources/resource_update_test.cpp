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
    if (!testing::HaveFixtures()) {
      GTEST_SKIP() << "no mingw fixtures";
    }
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
  struct Case {
    const char* name;
    Bytes content;  // empty name: missing file
    const char* reason;
  };
  const Case cases[] = {
      {"", {}, "does not exist"},
      {"empty.exe", {}, "too short"},
      {"notes.txt", testing::ToBytes(std::string(200, 'x')), "no MZ signature"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    fs::path path = folder_ / "missing.exe";
    if (*c.name != '\0') {
      path = Source(c.name, c.content);
    }
    for (const bool delete_existing : {false, true}) {
      auto update = ResourceUpdate::Begin(path, delete_existing);
      ASSERT_FALSE(update.ok());
      EXPECT_NE(update.error().reason.find(c.reason), std::string::npos) << update.error().reason;
    }
  }
}

TEST_F(ResourceUpdateFile, DiscardAndFailuresLeaveTheTargetUntouched) {
  const auto time_before = fs::last_write_time(target_);
  {
    auto update = ResourceUpdate::Begin(target_);
    ASSERT_TRUE(update.ok());
    ASSERT_TRUE(update->Update(Id("CUSTOM"), Id("101"), 1033, testing::ToBytes("x")).ok());
    update->Discard();
    EXPECT_FALSE(update->Commit().ok());
  }
  {
    // A source file that is gone by the time of the commit.
    const fs::path page = Source("page.htm", testing::ToBytes("<p>hello</p>"));
    auto update = ResourceUpdate::Begin(target_);
    ASSERT_TRUE(update.ok());
    ASSERT_TRUE(update->UpdateFromFile(Id("2110"), Id("page.htm"), 1033, page).ok());
    fs::remove(page);
    auto report = update->Commit();
    ASSERT_FALSE(report.ok());
    EXPECT_NE(report.error().reason.find("left unchanged"), std::string::npos);
  }
  {
    // A source file that changed size after it was handed over.
    const fs::path page = Source("page.htm", testing::ToBytes("short"));
    auto update = ResourceUpdate::Begin(target_);
    ASSERT_TRUE(update.ok());
    ASSERT_TRUE(update->UpdateFromFile(Id("2110"), Id("page.htm"), 1033, page).ok());
    Source("page.htm", testing::ToBytes("much longer now"));
    EXPECT_FALSE(update->Commit().ok());
    fs::remove(page);
  }
  EXPECT_EQ(Target(), original_);
  EXPECT_EQ(fs::last_write_time(target_), time_before);
  EXPECT_EQ(FilesInFolder(), 1u) << "a temporary file was left behind";
}

TEST_F(ResourceUpdateFile, TargetChangedSinceBeginIsNotOverwritten) {
  auto update = ResourceUpdate::Begin(target_);
  ASSERT_TRUE(update.ok());
  ASSERT_TRUE(update->Update(Id("CUSTOM"), Id("101"), 1033, testing::ToBytes("x")).ok());
  Bytes changed = original_;
  changed.push_back(0);
  testing::WriteFileBytes(target_.u8string(), changed);
  EXPECT_FALSE(update->Commit().ok());
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
  std::vector<std::pair<std::string, Bytes>> entries;
  for (int i = 0; i < 12; ++i) {
    entries.push_back({"file" + std::to_string(i) + ".htm",
                       Bytes(static_cast<size_t>(100 * i), static_cast<uint8_t>(i))});
  }
  for (const auto& [name, data] : entries) {
    auto update = ResourceUpdate::Begin(target_);
    ASSERT_TRUE(update.ok());
    ASSERT_TRUE(update->Update(Id("2110"), Id(name), 1033, data).ok());
    ASSERT_TRUE(update->Commit().ok());
  }
  const Bytes one_by_one = Target();

  testing::WriteFileBytes(target_.u8string(), original_);
  auto update = ResourceUpdate::Begin(target_);
  ASSERT_TRUE(update.ok());
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    ASSERT_TRUE(update->Update(Id("2110"), Id(it->first), 1033, it->second).ok());
  }
  ASSERT_TRUE(update->Commit().ok());
  EXPECT_EQ(Target(), one_by_one);
}

}  // namespace
}  // namespace vexmar::resources
