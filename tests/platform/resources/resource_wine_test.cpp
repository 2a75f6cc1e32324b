// Cross-checks against the system's own resource functions (Wine's
// kernel32 and ntdll when the suite runs under Wine): the same updates give
// the same entries, and the loader finds everything our engine wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/resources/resource_update.h"
#include "platform/resources/upper_case.h"
#include "platform/text/utf.h"
#include "resource_test_support.h"

extern "C" WCHAR WINAPI RtlUpcaseUnicodeChar(WCHAR);

namespace vexmar::resources {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

// Numbers go as MAKEINTRESOURCE ("#123" here), as the assembly passes them.
LPCWSTR AsResource(const std::wstring& text) {
  return text[0] == L'#' ? MAKEINTRESOURCEW(std::stoi(text.substr(1))) : text.c_str();
}

ResourceId AsId(const std::wstring& text) {
  return ResourceId::FromText(std::u16string(text.begin(), text.end())).value();
}

struct Update {
  std::wstring type;
  std::wstring name;
  WORD language;
  Bytes data;
};

std::vector<Update> Updates() {
  return {
      {L"CUSTOM", L"#101", 1033, testing::ToBytes("Garden Notes:A. Reader:index.htm")},
      {L"#2110", L"index.htm", 1033, testing::ToBytes("<html>index</html>")},
      {L"#2110", L"Chapter 1.html", 1033, testing::ToBytes("<p>one</p>")},
      {L"#2110", L"\u00e4rger.htm", 1033, testing::ToBytes("umlaut")},
      {L"#2110", L"stra\u00dfe.htm", 1033, testing::ToBytes("sharp s")},
      {L"#2110", L"A_B", 1033, testing::ToBytes("1")},
      {L"#2110", L"A.B", 1033, testing::ToBytes("2")},
      {L"#2110", L"#300", 1033, testing::ToBytes("numbered")},
      {L"custom", L"hello", 0x0407, testing::ToBytes("replaced german hello")},
      {L"#10", L"#7", 0x040C, testing::ToBytes("french data")},
      {L"#2110", L"big.bin", 1033, Bytes(70 * 1024, 0x3C)},
  };
}

fs::path Folder() {
  const fs::path folder = fs::temp_directory_path() / "vexmar-kernel-cross-check";
  fs::create_directories(folder);
  return folder;
}

fs::path CopyOf(const std::string& fixture, const std::string& name) {
  const fs::path path = Folder() / name;
  testing::WriteFileBytes(path.u8string(), testing::LoadFixture(fixture));
  return path;
}

fs::path WithOurEngine(const fs::path& path) {
  auto update = ResourceUpdate::Begin(path);
  EXPECT_TRUE(update.ok()) << update.error().reason;
  for (const Update& u : Updates()) {
    EXPECT_TRUE(update->Update(AsId(u.type), AsId(u.name), u.language, u.data).ok());
  }
  auto report = update->Commit();
  EXPECT_TRUE(report.ok()) << report.error().reason;
  return path;
}

fs::path WithKernel32(const fs::path& path) {
  HANDLE handle = BeginUpdateResourceW(path.wstring().c_str(), FALSE);
  EXPECT_NE(handle, nullptr) << GetLastError();
  for (Update u : Updates()) {
    EXPECT_TRUE(UpdateResourceW(handle, AsResource(u.type), AsResource(u.name), u.language,
                                u.data.data(), static_cast<DWORD>(u.data.size())))
        << GetLastError();
  }
  EXPECT_TRUE(EndUpdateResourceW(handle, FALSE)) << GetLastError();
  return path;
}

// A display form ("\"CUSTOM\"" or "10") as FindResourceExW takes it.
std::wstring AsWide(const std::string& display) {
  if (display[0] == '"') {
    const std::u16string name = utf::Utf8ToUtf16(display.substr(1, display.size() - 2));
    return std::wstring(name.begin(), name.end());
  }
  return L"#" + std::wstring(display.begin(), display.end());
}

class KernelCrossCheck : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override { VEXMAR_REQUIRE_FIXTURES(); }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
  }
};

TEST_P(KernelCrossCheck, SameUpdatesGiveTheSameEntriesAndTheLoaderFindsThemAll) {
  const fs::path path = WithOurEngine(CopyOf(GetParam(), "ours.exe"));
  const Bytes ours = testing::ReadFileBytes(path.u8string());
  const Bytes theirs =
      testing::ReadFileBytes(WithKernel32(CopyOf(GetParam(), "kernel32.exe")).u8string());
  const auto entries = testing::Snapshot(ours);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries, testing::Snapshot(theirs));
  EXPECT_EQ(testing::ValidateImage(ours), std::vector<std::string>{});

  // A 32-bit process maps a 64-bit image only as a plain data file.
  HMODULE module = LoadLibraryExW(path.wstring().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) {
    module = LoadLibraryExW(path.wstring().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  ASSERT_NE(module, nullptr) << GetLastError();
  for (const auto& entry : entries) {
    SCOPED_TRACE(entry.type + "/" + entry.name + "/" + std::to_string(entry.language));
    const std::wstring type = AsWide(entry.type);
    const std::wstring name = AsWide(entry.name);
    HRSRC found = FindResourceExW(module, AsResource(type), AsResource(name), entry.language);
    ASSERT_NE(found, nullptr) << GetLastError();
    HGLOBAL loaded = LoadResource(module, found);
    ASSERT_NE(loaded, nullptr);
    const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
    ASSERT_EQ(SizeofResource(module, found), entry.data.size());
    EXPECT_EQ(Bytes(bytes, bytes + entry.data.size()), entry.data);
  }
  FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, KernelCrossCheck, ::testing::ValuesIn(testing::kFixtureNames),
                         testing::FixtureTestName);

TEST(KernelCrossCheckCase, UpperCasingMatchesTheSystemForEveryUnit) {
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    const auto expected = static_cast<char16_t>(RtlUpcaseUnicodeChar(static_cast<WCHAR>(unit)));
    ASSERT_EQ(UpperCaseUnit(static_cast<char16_t>(unit)), expected) << "U+" << std::hex << unit;
  }
}

TEST(KernelCrossCheckCase, UpdatedProgramsStillLoadAndRun) {
  VEXMAR_REQUIRE_FIXTURES();
  // The loader only maps and starts programs of the test process's own arch.
#ifdef _WIN64
  const char* const library = "lib64.dll";
  const char* const programs[] = {"exe64.exe", "exe64-unstripped.exe", "exe64-no-resources.exe"};
#else
  const char* const library = "lib32.dll";
  const char* const programs[] = {"exe32.exe", "exe32-unstripped.exe", "exe32-no-resources.exe"};
#endif
  // A DLL whose .reloc moved: loading it relocates through the new table.
  const fs::path dll = WithOurEngine(CopyOf(library, "updated.dll"));
  HMODULE module = LoadLibraryW(dll.wstring().c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  auto answer = reinterpret_cast<int (*)()>(
      reinterpret_cast<void*>(GetProcAddress(module, "fixture_answer")));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  FreeLibrary(module);

  for (const char* name : programs) {
    SCOPED_TRACE(name);
    const fs::path exe = WithOurEngine(CopyOf(name, std::string("run-") + name));
    std::wstring command = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << GetLastError();
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace
}  // namespace vexmar::resources
