#pragma once
// The resource updates an e-book is written with, in the shape of Windows'
// begin, update and end calls. The e-book assembly reaches the resource
// engine through this interface, so tests can make any step fail.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace vexmar::build {

// A type or name of an entry: a number, or a text that the update stores in
// upper case as Windows does.
struct EntryId {
  std::string text;  // UTF-8; used when number is 0
  int number = 0;
  static EntryId Number(int n) { return {{}, n}; }
  static EntryId Text(std::string t) { return {std::move(t), 0}; }
};

// Sees a file entry's bytes, piece by piece in order, as the commit writes them.
using EntryWatcher = std::function<void(std::string_view piece)>;
// Makes an entry's bytes during the commit, once every other entry is written.
using LateEntry = std::function<std::string()>;

class ResourceUpdate {
 public:
  virtual ~ResourceUpdate() = default;
  virtual Status Update(const EntryId& type, const EntryId& name, int language,
                        const std::string& data) = 0;
  // The entry's data is the whole file at `source`, read when committing;
  // `watch`, if any, sees the bytes written.
  virtual Status UpdateFromFile(const EntryId& type, const EntryId& name, int language,
                                const std::string& source, EntryWatcher watch) = 0;
  // The entry's `size` bytes come from `make`, called by the commit after
  // every other entry; bytes of another size fail the commit.
  virtual Status UpdateLate(const EntryId& type, const EntryId& name, int language, size_t size,
                            LateEntry make) = 0;
  // Takes out every entry of the type the file has (whatever its name and
  // language), so entries written next replace the type whole.
  virtual Status RemoveType(const EntryId& type) = 0;
  // Writes every update into the file; a failure leaves the file as it was.
  virtual Status Commit() = 0;
};

class ResourceUpdates {
 public:
  virtual ~ResourceUpdates() = default;
  // Begins an update of the file, keeping its entries.
  virtual Result<std::unique_ptr<ResourceUpdate>> Begin(const std::string& path) = 0;
};

// Our PE resource engine.
ResourceUpdates& EngineResourceUpdates();

}  // namespace vexmar::build
