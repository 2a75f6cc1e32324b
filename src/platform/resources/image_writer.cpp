#include "platform/resources/image_writer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/resources/pe_checksum.h"

namespace vexmar::resources {
namespace {

constexpr size_t kBufferSize = 1 << 20;

class StreamWriter {
 public:
  StreamWriter(ByteSink& sink, const std::map<uint64_t, std::vector<uint8_t>>& patches)
      : sink_(sink), patches_(patches), buffer_(kBufferSize) {}

  Status Put(const uint8_t* data, size_t length) {
    while (length > 0) {
      const size_t take = std::min(length, buffer_.size() - used_);
      std::memcpy(buffer_.data() + used_, data, take);
      used_ += take;
      data += take;
      length -= take;
      if (used_ == buffer_.size()) {
        if (auto status = Flush(); !status) {
          return status;
        }
      }
    }
    return {};
  }

  Status PutZeros(uint64_t length) {
    while (length > 0) {
      const size_t take = static_cast<size_t>(std::min<uint64_t>(length, buffer_.size() - used_));
      std::memset(buffer_.data() + used_, 0, take);
      used_ += take;
      length -= take;
      if (used_ == buffer_.size()) {
        if (auto status = Flush(); !status) {
          return status;
        }
      }
    }
    return {};
  }

  // Copies [offset, offset + length) of `source` through the buffer,
  // applying the patches that fall into it (patches are by input offset).
  Status Copy(ByteSource& source, uint64_t offset, uint64_t length, bool apply_patches) {
    while (length > 0) {
      if (used_ == buffer_.size()) {
        if (auto status = Flush(); !status) {
          return status;
        }
      }
      const size_t take = static_cast<size_t>(std::min<uint64_t>(length, buffer_.size() - used_));
      uint8_t* at = buffer_.data() + used_;
      if (auto status = source.Read(offset, at, take); !status) {
        return status;
      }
      if (apply_patches) {
        ApplyPatches(offset, at, take);
      }
      used_ += take;
      offset += take;
      length -= take;
    }
    return {};
  }

  Status Flush() {
    checksum_.Add(buffer_.data(), used_);
    if (auto status = sink_.Write(buffer_.data(), used_); !status) {
      return status;
    }
    flushed_ += used_;
    used_ = 0;
    return {};
  }

  // Where the next byte goes in the output.
  uint64_t Position() const { return flushed_ + used_; }

  // Writes bytes over zeros already flushed at `offset`; the checksum counted
  // the zeros as nothing, so it now counts the bytes.
  Status Place(uint64_t offset, const std::vector<uint8_t>& bytes) {
    checksum_.AddInPlaceOfZeros(offset, bytes.data(), bytes.size());
    return sink_.Overwrite(offset, bytes.data(), bytes.size());
  }

  uint32_t Checksum() const { return checksum_.Finish(); }

 private:
  void ApplyPatches(uint64_t offset, uint8_t* at, size_t length) {
    // A patch is at most one section header long, so one starting up to
    // that far before the range may reach into it.
    auto it = patches_.lower_bound(offset >= 64 ? offset - 64 : 0);
    for (; it != patches_.end() && it->first < offset + length; ++it) {
      const uint64_t begin = std::max(offset, it->first);
      const uint64_t end = std::min<uint64_t>(offset + length, it->first + it->second.size());
      for (uint64_t p = begin; p < end; ++p) {
        at[p - offset] = it->second[static_cast<size_t>(p - it->first)];
      }
    }
  }

  ByteSink& sink_;
  const std::map<uint64_t, std::vector<uint8_t>>& patches_;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
  uint64_t flushed_ = 0;
  PeChecksum checksum_;
};

// Reads of an entry's source file, whose failures name that file; a
// failure to write the result stays the result's own. The entry's watcher
// sees each piece as it is read into the output, once, in order.
class SourceFile final : public ByteSource {
 public:
  SourceFile(ByteSource& file, std::string path, const ByteWatcher& watch)
      : file_(file), path_(std::move(path)), watch_(watch) {}
  uint64_t size() const override { return file_.size(); }
  Status Read(uint64_t offset, void* out, size_t length) override {
    Status read = file_.Read(offset, out, length);
    if (read) {
      if (watch_) watch_(static_cast<const uint8_t*>(out), length);
      return read;
    }
    Error error = read.error();
    error.reason = "cannot read " + path_ + ": " + error.reason;
    error.file = path_;
    return error;
  }

 private:
  ByteSource& file_;
  std::string path_;
  const ByteWatcher& watch_;
};

// An entry whose bytes are made once everything else is written, and where
// they go.
struct LateBlob {
  uint64_t outputOffset;
  const EntryData* data;
};

Status WriteBlob(StreamWriter& writer, ByteSource& input, const EntryData& data,
                 std::vector<LateBlob>& late) {
  switch (data.kind()) {
    case EntryData::Kind::kBytes:
      return writer.Put(data.bytes().data(), data.bytes().size());
    case EntryData::Kind::kInputRegion:
      return writer.Copy(input, data.offset(), data.size(), false);
    case EntryData::Kind::kFile: {
      // A failure here is the source's, and says so: the caller names that
      // file rather than the one being written.
      const auto fromSource = [&](Error error) {
        error.file = data.path().u8string();
        return error;
      };
      auto source = FileSource::Open(data.path());
      if (!source) {
        return fromSource(source.error());
      }
      if (source.value()->size() != data.size()) {
        return fromSource(
            Fail(data.path().u8string() + " changed while the update was being prepared"));
      }
      SourceFile named(*source.value(), data.path().u8string(), data.watcher());
      return writer.Copy(named, 0, data.size(), false);
    }
    case EntryData::Kind::kLate:
      late.push_back({writer.Position(), &data});
      return writer.PutZeros(data.size());
  }
  return {};
}

// Fills in the late entries, each over the zeros that held its place.
Status PlaceLateBlobs(StreamWriter& writer, const std::vector<LateBlob>& late) {
  for (const LateBlob& blob : late) {
    Result<std::vector<uint8_t>> bytes = blob.data->maker()();
    if (!bytes) {
      return bytes.error();
    }
    if (bytes.value().size() != blob.data->size()) {
      return Fail("an entry made at the end of the update has " +
                  std::to_string(bytes.value().size()) + " bytes instead of the " +
                  std::to_string(blob.data->size()) + " set aside for it");
    }
    if (auto status = writer.Place(blob.outputOffset, bytes.value()); !status) {
      return status;
    }
  }
  return {};
}

Status WriteTree(StreamWriter& writer, ByteSource& input, const TreeLayout& tree,
                 uint64_t piece_size, std::vector<LateBlob>& late) {
  if (auto status = writer.Put(tree.metadata.data(), tree.metadata.size()); !status) {
    return status;
  }
  uint64_t position = tree.metadata.size();
  for (const TreeLayout::Blob& blob : tree.blobs) {
    if (auto status = writer.PutZeros(blob.offset - position); !status) {
      return status;
    }
    if (auto status = WriteBlob(writer, input, blob.value->data, late); !status) {
      return status;
    }
    position = blob.offset + blob.value->data.size();
  }
  return writer.PutZeros(piece_size - position);
}

}  // namespace

Status WriteImage(ByteSource& input, const ImagePlan& plan, const TreeLayout& tree,
                  ByteSink& output) {
  StreamWriter writer(output, plan.patches);
  std::vector<LateBlob> late;
  for (const OutputPiece& piece : plan.pieces) {
    Status status;
    switch (piece.kind) {
      case OutputPiece::Kind::kInput:
        status = writer.Copy(input, piece.inputOffset, piece.length, true);
        break;
      case OutputPiece::Kind::kZeros:
        status = writer.PutZeros(piece.length);
        break;
      case OutputPiece::Kind::kTree:
        status = WriteTree(writer, input, tree, piece.length, late);
        break;
    }
    if (!status) {
      return status;
    }
  }
  if (auto status = writer.Flush(); !status) {
    return status;
  }
  if (auto status = PlaceLateBlobs(writer, late); !status) {
    return status;
  }
  if (plan.recomputeChecksum) {
    uint8_t bytes[4];
    StoreU32(bytes, writer.Checksum());
    return output.Overwrite(plan.checksumOffset, bytes, sizeof bytes);
  }
  return {};
}

}  // namespace vexmar::resources
