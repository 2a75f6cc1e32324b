#include "build/background_index.h"

#include <system_error>
#include <utility>

namespace vexmar::build {

BackgroundIndex::BackgroundIndex(std::size_t maxQueuedBytes)
    : pages_(maxQueuedBytes), gathered_(maxQueuedBytes) {
  try {
    writing_ = std::thread([this] { Write(); });
    gathering_ = std::thread([this] { Gather(); });
    threaded_ = true;
  } catch (const std::system_error&) {
    // Out of threads: the same index, built on the caller's thread.
    Stop();
  }
}

BackgroundIndex::~BackgroundIndex() {
  Stop();
}

void BackgroundIndex::AddPage(std::string name, std::string text) {
  if (!threaded_) {
    writer_.AddPage(name, text);
    return;
  }
  const std::size_t bytes = text.size();
  pages_.Push({std::move(name), std::move(text)}, bytes);
}

std::string BackgroundIndex::Finish() {
  Stop();
  return writer_.Finish();
}

void BackgroundIndex::Gather() {
  while (std::optional<Page> page = pages_.Pop()) {
    GatheredPage gathered{std::move(page->name), {}};
    book::GatherTerms(page->text, gathered.terms);
    const std::size_t bytes = gathered.terms.text.size();
    gathered_.Push(std::move(gathered), bytes);
  }
  gathered_.Close();
}

void BackgroundIndex::Write() {
  while (const std::optional<GatheredPage> page = gathered_.Pop()) {
    writer_.AddPage(page->name, page->terms);
  }
}

// Each thread finishes what is queued for it, then ends.
void BackgroundIndex::Stop() {
  pages_.Close();
  if (gathering_.joinable()) {
    gathering_.join();
  } else {
    gathered_.Close();  // no gathering thread to close it
  }
  if (writing_.joinable()) writing_.join();
}

}  // namespace vexmar::build
