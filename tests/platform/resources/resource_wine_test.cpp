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
using namespace testing;  // NOLINT: the helpers of this suite

// Types and names as the assembly passes them to UpdateResource: numbers
// as MAKEINTRESOURCE, "#123" here.
LPCWSTR AsResource(const std::wstring& text) {
  return text[0] == L'#' ? MAKEINTRESOURCEW(std::stoi(text.substr(1))) : text.c_str();
}

// A display form ("\"CUSTOM\"" or "10") as FindResourceExW takes it.
std::wstring AsWide(const std::string& display) {
  if (display[0] != '"') return L"#" + std::wstring(display.begin(), display.end());
  const std::u16string name = utf::Utf8ToUtf16(display.substr(1, display.size() - 2));
  return std::wstring(name.begin(), name.end());
}

const std::tuple<std::wstring, std::wstring, WORD, Bytes> kUpdates[] = {
    {L"CUSTOM", L"#101", 1033, ToBytes("Garden Notes:A. Reader:index.htm")},
    {L"#2110", L"Chapter 1.html", 1033, ToBytes("<p>one</p>")},
    {L"#2110", L"\u00e4rger.htm", 1033, ToBytes("umlaut")},
    {L"#2110", L"stra\u00dfe.htm", 1033, ToBytes("sharp s")},
    {L"#2110", L"A_B", 1033, ToBytes("1")},
    {L"#2110", L"A.B", 1033, ToBytes("2")},
    {L"#2110", L"#300", 1033, ToBytes("numbered")},
    {L"custom", L"hello", 0x0407, ToBytes("replaced german hello")},
    {L"#10", L"#7", 0x040C, ToBytes("french data")},
    {L"#2110", L"big.bin", 1033, Bytes(70 * 1024, 0x3C)},
};

const fs::path kFolder = fs::temp_directory_path() / "vexmar-kernel-cross-check";

// A copy of `fixture` with kUpdates made by our engine, or by kernel32.
fs::path Updated(const std::string& fixture, const std::string& name, bool by_kernel32 = false) {
  fs::create_directories(kFolder);
  const fs::path path = kFolder / name;
  WriteFileBytes(path.u8string(), LoadFixture(fixture));
  if (by_kernel32) {
    HANDLE handle = BeginUpdateResourceW(path.wstring().c_str(), FALSE);
    EXPECT_NE(handle, nullptr) << GetLastError();
    for (auto [type, id, language, data] : kUpdates) {
      EXPECT_TRUE(UpdateResourceW(handle, AsResource(type), AsResource(id), language, data.data(),
                                  static_cast<DWORD>(data.size())));
    }
    EXPECT_TRUE(EndUpdateResourceW(handle, FALSE)) << GetLastError();
    return path;
  }
  auto update = ResourceUpdate::Begin(path);
  EXPECT_TRUE(update.ok()) << update.error().reason;
  for (const auto& [type, id, language, data] : kUpdates) {
    const auto as_id = [](const std::wstring& text) {
      return ResourceId::FromText(std::u16string(text.begin(), text.end())).value();
    };
    EXPECT_TRUE(update->Update(as_id(type), as_id(id), language, data).ok());
  }
  EXPECT_TRUE(update->Commit().ok());
  return path;
}

class KernelCrossCheck : public ::testing::TestWithParam<std::string> {
 protected:
  void TearDown() override { fs::remove_all(kFolder); }
};

TEST_P(KernelCrossCheck, SameUpdatesGiveTheSameEntriesAndTheLoaderFindsThemAll) {
  VEXMAR_REQUIRE_FIXTURES();
  const fs::path path = Updated(GetParam(), "ours.exe");
  const auto entries = Snapshot(ReadFileBytes(path.u8string()));
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries, Snapshot(ReadFileBytes(Updated(GetParam(), "theirs.exe", true).u8string())));

  // A 32-bit process maps a 64-bit image only as a plain data file.
  HMODULE module = LoadLibraryExW(path.wstring().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) {
    module = LoadLibraryExW(path.wstring().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  ASSERT_NE(module, nullptr) << GetLastError();
  for (const Entry& entry : entries) {
    SCOPED_TRACE(::testing::PrintToString(entry));
    const std::wstring type = AsWide(entry.type), name = AsWide(entry.name);
    HRSRC found = FindResourceExW(module, AsResource(type), AsResource(name), entry.language);
    ASSERT_NE(found, nullptr) << GetLastError();
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    ASSERT_EQ(SizeofResource(module, found), entry.data.size());
    EXPECT_EQ(Bytes(bytes, bytes + entry.data.size()), entry.data);
  }
  FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, KernelCrossCheck, ::testing::ValuesIn(kFixtureNames),
                         FixtureTestName);

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
  HMODULE module = LoadLibraryW(Updated(library, "updated.dll").wstring().c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  auto answer = reinterpret_cast<int (*)()>(
      reinterpret_cast<void*>(GetProcAddress(module, "fixture_answer")));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  FreeLibrary(module);

  for (const char* name : programs) {
    std::wstring command = L"\"" + Updated(name, std::string("run-") + name).wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << name << ": " << GetLastError();
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0) << name;
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u) << name;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  fs::remove_all(kFolder);
}

}  // namespace
}  // namespace vexmar::resources
