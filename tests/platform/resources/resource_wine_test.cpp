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

struct Key {
  std::wstring type;  // "#123" for numbers
  std::wstring name;
  WORD language;
};

LPCWSTR AsResource(const std::wstring& text) {
  // Numbers go as MAKEINTRESOURCE, as the assembly passes them.
  if (text[0] == L'#') {
    return MAKEINTRESOURCEW(std::stoi(text.substr(1)));
  }
  return text.c_str();
}

ResourceId AsId(const std::wstring& text) {
  std::u16string units(text.begin(), text.end());
  return ResourceId::FromText(units).value();
}

struct Update {
  Key key;
  Bytes data;
};

std::vector<Update> Updates() {
  std::vector<Update> updates = {
      {{L"CUSTOM", L"#101", 1033}, testing::ToBytes("Garden Notes:A. Reader:index.htm")},
      {{L"#2110", L"index.htm", 1033}, testing::ToBytes("<html>index</html>")},
      {{L"#2110", L"Chapter 1.html", 1033}, testing::ToBytes("<p>one</p>")},
      {{L"#2110", L"\u00e4rger.htm", 1033}, testing::ToBytes("umlaut")},
      {{L"#2110", L"stra\u00dfe.htm", 1033}, testing::ToBytes("sharp s")},
      {{L"#2110", L"A_B", 1033}, testing::ToBytes("1")},
      {{L"#2110", L"A.B", 1033}, testing::ToBytes("2")},
      {{L"#2110", L"#300", 1033}, testing::ToBytes("numbered")},
      {{L"custom", L"hello", 0x0407}, testing::ToBytes("replaced german hello")},
      {{L"#10", L"#7", 0x040C}, testing::ToBytes("french data")},
      {{L"#2110", L"big.bin", 1033}, Bytes(70 * 1024, 0x3C)},
  };
  return updates;
}

class KernelCrossCheck : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!testing::HaveFixtures()) {
      GTEST_SKIP() << "no mingw fixtures";
    }
    folder_ = fs::temp_directory_path() / "vexmar-kernel-cross-check";
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path Copy(const std::string& name) {
    const fs::path path = folder_ / name;
    testing::WriteFileBytes(path.u8string(), testing::LoadFixture(GetParam()));
    return path;
  }
  fs::path folder_;
};

fs::path WithOurEngine(const fs::path& path) {
  auto update = ResourceUpdate::Begin(path);
  EXPECT_TRUE(update.ok()) << update.error().reason;
  for (const Update& u : Updates()) {
    EXPECT_TRUE(update->Update(AsId(u.key.type), AsId(u.key.name), u.key.language, u.data).ok());
  }
  auto report = update->Commit();
  EXPECT_TRUE(report.ok()) << report.error().reason;
  return path;
}

fs::path WithKernel32(const fs::path& path) {
  HANDLE handle = BeginUpdateResourceW(path.wstring().c_str(), FALSE);
  EXPECT_NE(handle, nullptr) << GetLastError();
  for (const Update& u : Updates()) {
    std::vector<uint8_t> data = u.data;
    EXPECT_TRUE(UpdateResourceW(handle, AsResource(u.key.type), AsResource(u.key.name),
                                u.key.language, data.data(), static_cast<DWORD>(data.size())))
        << GetLastError();
  }
  EXPECT_TRUE(EndUpdateResourceW(handle, FALSE)) << GetLastError();
  return path;
}

TEST_P(KernelCrossCheck, SameUpdatesGiveTheSameEntries) {
  const Bytes ours = testing::ReadFileBytes(WithOurEngine(Copy("ours.exe")).u8string());
  const Bytes theirs = testing::ReadFileBytes(WithKernel32(Copy("kernel32.exe")).u8string());
  const auto our_entries = testing::Snapshot(ours);
  const auto their_entries = testing::Snapshot(theirs);
  EXPECT_EQ(our_entries, their_entries) << "ours:\n"
                                        << testing::Describe(our_entries) << "kernel32:\n"
                                        << testing::Describe(their_entries);
  EXPECT_EQ(testing::ValidateImage(ours), std::vector<std::string>{});
}

TEST_P(KernelCrossCheck, LoaderFindsEveryEntryWeWrote) {
  const fs::path path = WithOurEngine(Copy("ours.exe"));
  const auto entries = testing::Snapshot(testing::ReadFileBytes(path.u8string()));
  ASSERT_FALSE(entries.empty());
  // A 32-bit process maps a 64-bit image only as a plain data file.
  HMODULE module = LoadLibraryExW(path.wstring().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module == nullptr) {
    module = LoadLibraryExW(path.wstring().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  ASSERT_NE(module, nullptr) << GetLastError();
  auto to_w = [](const std::string& display) {
    if (display[0] == '"') {
      const std::u16string name = utf::Utf8ToUtf16(display.substr(1, display.size() - 2));
      return std::wstring(name.begin(), name.end());
    }
    return L"#" + std::wstring(display.begin(), display.end());
  };
  for (const auto& entry : entries) {
    SCOPED_TRACE(entry.type + "/" + entry.name + "/" + std::to_string(entry.language));
    const std::wstring type = to_w(entry.type);
    const std::wstring name = to_w(entry.name);
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

INSTANTIATE_TEST_SUITE_P(Fixtures, KernelCrossCheck,
                         ::testing::Values("exe32.exe", "exe32-rsrc-last.exe",
                                           "exe32-unstripped.exe", "exe32-no-resources.exe",
                                           "lib32.dll", "exe64.exe", "lib64.dll"),
                         [](const auto& param_info) {
                           std::string name = param_info.param;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(KernelCrossCheckCase, UpperCasingMatchesTheSystemForEveryUnit) {
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    const auto expected = static_cast<char16_t>(RtlUpcaseUnicodeChar(static_cast<WCHAR>(unit)));
    ASSERT_EQ(UpperCaseUnit(static_cast<char16_t>(unit)), expected) << "U+" << std::hex << unit;
  }
}

TEST(KernelCrossCheckCase, UpdatedProgramsStillLoadAndRun) {
  if (!testing::HaveFixtures()) {
    GTEST_SKIP() << "no mingw fixtures";
  }
  const fs::path folder = fs::temp_directory_path() / "vexmar-kernel-cross-check";
  fs::create_directories(folder);
  // The loader only maps and starts programs of the test process's own arch.
#ifdef _WIN64
  const char* const library = "lib64.dll";
  const char* const programs[] = {"exe64.exe", "exe64-unstripped.exe", "exe64-no-resources.exe"};
#else
  const char* const library = "lib32.dll";
  const char* const programs[] = {"exe32.exe", "exe32-unstripped.exe", "exe32-no-resources.exe"};
#endif
  // A DLL whose .reloc moved: loading it relocates through the new table.
  const fs::path dll = folder / "updated.dll";
  testing::WriteFileBytes(dll.u8string(), testing::LoadFixture(library));
  WithOurEngine(dll);
  HMODULE module = LoadLibraryW(dll.wstring().c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  auto answer = reinterpret_cast<int (*)()>(
      reinterpret_cast<void*>(GetProcAddress(module, "fixture_answer")));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  FreeLibrary(module);

  for (const char* name : programs) {
    SCOPED_TRACE(name);
    const fs::path exe = folder / (std::string("run-") + name);
    testing::WriteFileBytes(exe.u8string(), testing::LoadFixture(name));
    WithOurEngine(exe);
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
