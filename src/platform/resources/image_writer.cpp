#include "platform/resources/image_writer.h"

#include <algorithm>
#include <cstring>

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
    used_ = 0;
    return {};
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
  PeChecksum checksum_;
};

// Reads of an entry's source file, whose failures name that file; a
// failure to write the result stays the result's own.
class SourceFile final : public ByteSource {
 public:
  SourceFile(ByteSource& file, std::string path) : file_(file), path_(std::move(path)) {}
  uint64_t size() const override { return file_.size(); }
  Status Read(uint64_t offset, void* out, size_t length) override {
    Status read = file_.Read(offset, out, length);
    if (read) return read;
    Error error = read.error();
    error.reason = "cannot read " + path_ + ": " + error.reason;
    error.file = path_;
    return error;
  }

 private:
  ByteSource& file_;
  std::string path_;
};

Status WriteBlob(StreamWriter& writer, ByteSource& input, const EntryData& data) {
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
      SourceFile named(*source.value(), data.path().u8string());
      return writer.Copy(named, 0, data.size(), false);
    }
  }
  return {};
}

Status WriteTree(StreamWriter& writer, ByteSource& input, const TreeLayout& tree,
                 uint64_t piece_size) {
  if (auto status = writer.Put(tree.metadata.data(), tree.metadata.size()); !status) {
    return status;
  }
  uint64_t position = tree.metadata.size();
  for (const TreeLayout::Blob& blob : tree.blobs) {
    if (auto status = writer.PutZeros(blob.offset - position); !status) {
      return status;
    }
    if (auto status = WriteBlob(writer, input, blob.value->data); !status) {
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
        status = WriteTree(writer, input, tree, piece.length);
        break;
    }
    if (!status) {
      return status;
    }
  }
  if (auto status = writer.Flush(); !status) {
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
