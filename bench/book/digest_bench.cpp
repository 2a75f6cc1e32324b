// Reading and hashing files, as vexmar-ebc build does to the finished book
// for the checksum it prints last. Prints the best of five runs in seconds,
// for tools/bench-build to set against the build's own time.
//
//   digest_bench FILE...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "book/sha256.h"
#include "platform/fs/file_system.h"

int main(int argc, char** argv) {
  const std::vector<std::string> files(argv + 1, argv + argc);
  double best = 1e9;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& file : files) {
      vexmar::book::Sha256 hasher;
      const vexmar::Status read = vexmar::fs::RealFileSystem().ReadInPieces(
          file, [&](std::string_view piece) { hasher.Update(piece); });
      if (!read) {
        std::fprintf(stderr, "digest_bench: %s: %s\n", file.c_str(), read.error().reason.c_str());
        return 1;
      }
      hasher.Finish();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  std::printf("%.4f\n", best);
  return 0;
}
