// Peak memory of `vexmar-ebc inspect` and `extract`, each run as a child of
// its own, on two books made here: a crafted one whose 65,535 file entries
// all point at one 1 MiB blob (under 7 MB on disk, 64 GiB claimed), and an
// honest one of many 1 MiB files. Prints one figure line per run.
//
//   read_back_bench VEXMAR-EBC STUB WORK-FOLDER HONEST-MIB
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/peak_memory.h"
#include "book/book_format.h"
#include "build/ebook_image.h"
#include "platform/resources/byte_io.h"
#include "platform/resources/resource_table.h"

namespace {

namespace build = vexmar::build;
namespace res = vexmar::resources;

constexpr size_t kBlobBytes = 1024 * 1024;

[[noreturn]] void Fail(const std::string& what) {
  std::cerr << "read-back bench: " << what << "\n";
  std::exit(1);
}

std::string Noise(size_t size) {
  std::string bytes(size, '\0');
  uint32_t seed = 7;
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::string bytes(std::filesystem::file_size(path), '\0');
  std::ifstream(path, std::ios::binary)
      .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// `count` entries named PAGEn.HTM with the bytes of `source`, after one
// entry BLOB.BIN of 1 MiB.
void MakeBook(const std::string& path, const std::string& stub, const std::string& folder,
              int count, const std::string& source) {
  build::AssemblyInputs inputs;
  inputs.outputPath = path;
  inputs.stubPath = stub;
  inputs.settings = {"Bench", "Bench", "BLOB.BIN", "1/1/2026", "", ""};
  WriteFile(folder + "/blob.bin", Noise(kBlobBytes));
  inputs.files.push_back({"blob.bin", folder + "/blob.bin"});
  for (int i = 0; i < count; ++i) {
    inputs.files.push_back({"page" + std::to_string(i) + ".htm", source});
  }
  const build::AssemblyResult made =
      build::AssembleEbook(vexmar::fs::RealFileSystem(), build::EngineResourceUpdates(), inputs);
  if (made.outcome != build::Outcome::Done) Fail("building " + path + ": " + made.error.reason);
}

// Points every file entry's data entry at the blob's bytes.
void ShareTheBlob(const std::string& path) {
  std::string book = ReadFile(path);
  res::MemorySource source(reinterpret_cast<const uint8_t*>(book.data()), book.size());
  auto file = res::ReadResourceFile(source);
  if (!file) Fail(file.error().reason);
  std::unordered_map<uint32_t, uint32_t> sizeAt;  // data RVA -> size, of the pages
  res::ResourceEntry blob;
  for (const res::ResourceEntry& entry : file->table.entries()) {
    if (!entry.type.is_number() || entry.type.number() != vexmar::book_format::kFileType) continue;
    if (entry.size == kBlobBytes) {
      blob = entry;
    } else {
      sizeAt[entry.dataRva] = entry.size;
    }
  }
  // Data entries are four-byte aligned: RVA, size, code page, reserved.
  for (size_t at = 0; at + 8 <= book.size(); at += 4) {
    uint32_t fields[2];
    std::memcpy(fields, book.data() + at, sizeof fields);
    const auto found = sizeAt.find(fields[0]);
    if (found == sizeAt.end() || found->second != fields[1]) continue;
    fields[0] = blob.dataRva;
    fields[1] = blob.size;
    std::memcpy(book.data() + at, fields, sizeof fields);
  }
  WriteFile(path, book);
}

struct Run {
  int exitCode;
  double peakMiB;
};

void InChild(const std::function<void()>& work) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child < 0) Fail("fork failed");
  if (child == 0) {
    work();
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    Fail("making the books failed");
  }
}

// Spawned without a copy of this process (posix_spawn), whose memory would
// otherwise count towards the child's peak.
Run RunChild(const std::vector<std::string>& args) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) Fail("cannot start " + args[0]);
  int status = 0;
  struct rusage usage {};
  if (wait4(child, &status, 0, &usage) != child) Fail("wait4 failed");
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return {code, static_cast<double>(usage.ru_maxrss) / 1024};
}

void Report(const std::string& ebc, const std::string& book, const std::string& label,
            const std::string& folder) {
  const double mb = static_cast<double>(std::filesystem::file_size(book)) / 1e6;
  const Run inspect = RunChild({ebc, "inspect", book});
  std::filesystem::remove_all(folder);
  const Run extract = RunChild({ebc, "extract", book, folder});
  std::filesystem::remove_all(folder);
  std::printf(
      "%s (%.1f MB): inspect peak %.1f MiB (exit %d), extract peak %.1f MiB (exit %d); "
      "target below 64 MiB\n",
      label.c_str(), mb, inspect.peakMiB, inspect.exitCode, extract.peakMiB, extract.exitCode);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) Fail("usage: read_back_bench VEXMAR-EBC STUB WORK-FOLDER HONEST-MIB");
  const std::string ebc = argv[1], stub = argv[2], work = argv[3];
  const int honestFiles = std::atoi(argv[4]);

  // A child of a process keeps that process's peak as its own starting
  // figure (Linux carries it across exec), so the books are made in a child
  // and the commands started from this small process.
  InChild([&] {
    const std::string page = work + "/page.htm";
    WriteFile(page, "<p>x</p>");
    MakeBook(work + "/crafted.exe", stub, work, 65535 - 1, page);
    ShareTheBlob(work + "/crafted.exe");
    WriteFile(page, Noise(kBlobBytes - 1));  // each page its own copy of 1 MiB - 1 byte
    MakeBook(work + "/honest.exe", stub, work, honestFiles - 1, page);
  });
  std::printf("this bench process itself: %.1f MiB (included in the figures below)\n",
              static_cast<double>(vexmar::bench::PeakResidentKiB()) / 1024);
  Report(ebc, work + "/crafted.exe", "crafted book, 65,535 entries on one 1 MiB blob",
         work + "/out");
  Report(ebc, work + "/honest.exe",
         "honest book of " + std::to_string(honestFiles) + " files of 1 MiB", work + "/out");
  return 0;
}
