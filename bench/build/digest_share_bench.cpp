// The share of a book's assembly that its digest takes: the files assembled
// into a book with digests, or with resource updates that leave them out (no
// file is watched, the digest entry's place holds zeros, so the book has the
// same layout and size). Prints the best of nine runs in seconds, for
// tools/bench-build to set the two against each other and against the whole
// build's time. Each way runs in a process of its own: runs of the two ways
// alternating in one process timed each other's clean-up of the disk.
//
//   digest_share_bench with|without STUB OUTPUT FILE...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "build/ebook_image.h"
#include "platform/fs/file_system.h"

namespace {

namespace build = vexmar::build;

// The engine's updates, less the digest's work.
class WithoutDigest final : public build::ResourceUpdates {
 public:
  vexmar::Result<std::unique_ptr<build::ResourceUpdate>> Begin(const std::string& path) override {
    auto update = build::EngineResourceUpdates().Begin(path);
    if (!update) return update.error();
    return std::unique_ptr<build::ResourceUpdate>(
        std::make_unique<Digestless>(std::move(update).value()));
  }

 private:
  class Digestless final : public build::ResourceUpdate {
   public:
    explicit Digestless(std::unique_ptr<build::ResourceUpdate> engine)
        : engine_(std::move(engine)) {}
    vexmar::Status Update(const build::EntryId& type, const build::EntryId& name, int language,
                          const std::string& data) override {
      return engine_->Update(type, name, language, data);
    }
    vexmar::Status UpdateFromFile(const build::EntryId& type, const build::EntryId& name,
                                  int language, const std::string& source,
                                  build::EntryWatcher) override {
      return engine_->UpdateFromFile(type, name, language, source, {});
    }
    vexmar::Status UpdateLate(const build::EntryId& type, const build::EntryId& name, int language,
                              size_t size, build::LateEntry) override {
      return engine_->Update(type, name, language, std::string(size, '\0'));
    }
    vexmar::Status RemoveType(const build::EntryId& type) override {
      return engine_->RemoveType(type);
    }
    vexmar::Status Commit() override { return engine_->Commit(); }

   private:
    std::unique_ptr<build::ResourceUpdate> engine_;
  };
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: digest_share_bench with|without STUB OUTPUT FILE...\n");
    return 2;
  }
  const bool digests = std::string(argv[1]) == "with";
  build::AssemblyInputs inputs;
  inputs.stubPath = argv[2];
  inputs.outputPath = argv[3];
  inputs.settings = {"Bench", "Bench", "index.htm", "1/1/2026", "", ""};
  for (int i = 4; i < argc; ++i) {
    const std::string path = argv[i];
    inputs.files.push_back({path.substr(path.find_last_of('/') + 1), path});
  }
  vexmar::fs::FileSystem& files = vexmar::fs::RealFileSystem();
  WithoutDigest withoutDigest;
  double best = 1e9;
  for (int run = 0; run < 9; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const build::AssemblyResult result = build::AssembleEbook(
        files, digests ? build::EngineResourceUpdates() : withoutDigest, inputs);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (result.outcome != build::Outcome::Done) {
      std::fprintf(stderr, "digest_share_bench: %s\n", result.error.reason.c_str());
      return 1;
    }
    best = std::min(best, took.count());
  }
  std::printf("%.4f\n", best);
  return 0;
}
