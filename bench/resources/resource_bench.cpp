// Speed and memory of the resource engine, printed as "name value" lines
// that tools/bench-resources turns into a table:
//   ours_batch / ours_cycle    our engine, one commit for all entries / one per entry
//   kernel32_cycle / _batch    the same through the system's kernel32 (Windows build only;
//                              under Wine this is Wine's implementation)
//   copy_ours / copy_cp        1,000 entries of 100 KiB streamed from files into a copy
//                              of the stub, against `cp` of one file of the same bytes
//   copy_cp_files              and against `cp` of the stub and the 1,000 source files
//   peak_kib                   peak memory of a child writing 500 MiB of entries
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "platform/resources/resource_update.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "bench/peak_memory.h"
#endif

namespace fs = std::filesystem;
using vexmar::resources::ResourceId;
using vexmar::resources::ResourceUpdate;

namespace {

std::vector<uint8_t> Noise(size_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  for (uint8_t& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(seed >> 24);
  }
  return bytes;
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of `runs`, so a scheduler hiccup on a shared machine does not
// decide the figure.
double Best(int runs, const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    best = std::min(best, Seconds(work));
  }
  return best;
}

void Fail(const std::string& what) {
  std::cerr << "resource bench: " << what << "\n";
  std::exit(1);
}

// std::filesystem::copy_file with overwrite_existing fails on an existing
// target in mingw-w64's libstdc++ (under Wine at least), so copy by hand.
void CopyStub(const fs::path& from, const fs::path& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  out << in.rdbuf();
  if (!in || !out) Fail("cannot copy the stub");
}

const ResourceId kFileType = ResourceId::Number(2110).value();

ResourceId EntryName(int i) {
  return ResourceId::FromUtf8("page" + std::to_string(i) + ".htm").value();
}

void OursBatch(const fs::path& stub, const fs::path& target, int count, size_t size) {
  CopyStub(stub, target);
  auto update = ResourceUpdate::Begin(target);
  if (!update.ok()) Fail(update.error().reason);
  for (int i = 0; i < count; ++i) {
    if (!update->Update(kFileType, EntryName(i), 1033, Noise(size, static_cast<uint32_t>(i))).ok())
      Fail("update");
  }
  auto report = update->Commit();
  if (!report.ok()) Fail(report.error().reason);
}

void OursCycle(const fs::path& stub, const fs::path& target, int count, size_t size) {
  CopyStub(stub, target);
  for (int i = 0; i < count; ++i) {
    auto update = ResourceUpdate::Begin(target);
    if (!update.ok()) Fail(update.error().reason);
    if (!update->Update(kFileType, EntryName(i), 1033, Noise(size, static_cast<uint32_t>(i))).ok())
      Fail("update");
    auto report = update->Commit();
    if (!report.ok()) Fail(report.error().reason);
  }
}

[[maybe_unused]] void OursFromFiles(const fs::path& stub, const fs::path& target,
                                    const fs::path& sources, int count) {
  CopyStub(stub, target);
  auto update = ResourceUpdate::Begin(target);
  if (!update.ok()) Fail(update.error().reason);
  for (int i = 0; i < count; ++i) {
    const fs::path source = sources / ("page" + std::to_string(i) + ".htm");
    if (!update->UpdateFromFile(kFileType, EntryName(i), 1033, source).ok()) Fail("update");
  }
  auto report = update->Commit();
  if (!report.ok()) Fail(report.error().reason);
}

[[maybe_unused]] void MakeSources(const fs::path& folder, int count, size_t size) {
  fs::create_directories(folder);
  for (int i = 0; i < count; ++i) {
    const fs::path path = folder / ("page" + std::to_string(i) + ".htm");
    if (fs::exists(path) && fs::file_size(path) == size) continue;
    const auto bytes = Noise(size, static_cast<uint32_t>(i));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));
  }
}

#ifdef _WIN32
void KernelCycle(const fs::path& stub, const fs::path& target, int count, size_t size, bool batch) {
  CopyStub(stub, target);
  HANDLE handle = nullptr;
  for (int i = 0; i < count; ++i) {
    if (handle == nullptr) {
      handle = BeginUpdateResourceW(target.wstring().c_str(), FALSE);
      if (handle == nullptr) Fail("BeginUpdateResourceW");
    }
    auto data = Noise(size, static_cast<uint32_t>(i));
    const std::wstring name = L"PAGE" + std::to_wstring(i) + L".HTM";
    if (!UpdateResourceW(handle, MAKEINTRESOURCEW(2110), name.c_str(), 1033, data.data(),
                         static_cast<DWORD>(size)))
      Fail("UpdateResourceW");
    if (!batch || i + 1 == count) {
      if (!EndUpdateResourceW(handle, FALSE)) Fail("EndUpdateResourceW");
      handle = nullptr;
    }
  }
}
#endif

void PrintFigure(const std::string& name, double value) {
  std::printf("%s %.6f\n", name.c_str(), value);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: vexmar_bench_resources STUB WORKDIR [--peak SOURCES COUNT]\n";
    return 2;
  }
  const fs::path stub = fs::u8path(argv[1]);
  const fs::path work = fs::u8path(argv[2]);
  fs::create_directories(work);
  const fs::path target = work / "book.exe";

#ifndef _WIN32
  if (argc == 6 && std::string(argv[3]) == "--peak") {
    // Child mode: only the update, so the figure is the engine's own.
    OursFromFiles(stub, target, fs::u8path(argv[4]), std::stoi(argv[5]));
    std::printf("peak_kib %ld\n", vexmar::bench::PeakResidentKiB());
    return 0;
  }
#endif

  struct Workload {
    const char* name;
    int count;
    size_t size;
  };
  for (const Workload& w : {Workload{"1000x1KiB", 1000, 1024}, Workload{"200x64KiB", 200, 65536}}) {
    PrintFigure(std::string("ours_batch_") + w.name,
                Best(3, [&] { OursBatch(stub, target, w.count, w.size); }));
    PrintFigure(std::string("ours_cycle_") + w.name,
                Seconds([&] { OursCycle(stub, target, w.count, w.size); }));
#ifdef _WIN32
    PrintFigure(std::string("kernel32_batch_") + w.name,
                Best(3, [&] { KernelCycle(stub, target, w.count, w.size, true); }));
    PrintFigure(std::string("kernel32_cycle_") + w.name,
                Seconds([&] { KernelCycle(stub, target, w.count, w.size, false); }));
#endif
  }

#ifndef _WIN32
  const fs::path sources = work / "sources-100KiB";
  MakeSources(sources, 1000, 100 * 1024);
  OursFromFiles(stub, target, sources, 1000);  // warms the page cache
  const std::string cp = "cp '" + target.string() + "' '" + (work / "cp-copy.exe").string() + "'";
  // Also the same data as the files it comes from: the stub and the
  // sources copied into a folder by one cp.
  const fs::path folder = work / "cp-files";
  fs::create_directories(folder);
  const std::string cp_files =
      "cp '" + stub.string() + "' '" + sources.string() + "'/* '" + folder.string() + "'";
  double ours = 1e9;
  double copy = 1e9;
  double copy_files = 1e9;
  for (int i = 0; i < 5; ++i) {
    ours = std::min(ours, Seconds([&] { OursFromFiles(stub, target, sources, 1000); }));
    copy = std::min(copy, Seconds([&] {
                      if (std::system(cp.c_str()) != 0) Fail("cp failed");
                    }));
    copy_files = std::min(copy_files, Seconds([&] {
                            if (std::system(cp_files.c_str()) != 0) Fail("cp failed");
                          }));
  }
  fs::remove_all(folder);
  PrintFigure("copy_ours_1000x100KiB", ours);
  PrintFigure("copy_cp_1000x100KiB", copy);
  PrintFigure("copy_cp_files_1000x100KiB", copy_files);
  PrintFigure("copy_bytes", static_cast<double>(fs::file_size(target)));

  const fs::path large = work / "sources-1MiB";
  MakeSources(large, 500, 1024 * 1024);
  const fs::path result = work / "peak.txt";
  const std::string child = "'" + std::string(argv[0]) + "' '" + stub.string() + "' '" +
                            work.string() + "' --peak '" + large.string() + "' 500 > '" +
                            result.string() + "'";
  if (std::system(child.c_str()) != 0) Fail("the peak-memory child failed");
  std::ifstream peak(result);
  std::string name;
  double kib = 0;
  peak >> name >> kib;
  PrintFigure("peak_kib_500MiB", kib);
  PrintFigure("peak_output_bytes", static_cast<double>(fs::file_size(target)));
  fs::remove_all(large);
  fs::remove_all(sources);
#endif
  fs::remove(target);
  return 0;
}
