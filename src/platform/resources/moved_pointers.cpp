#include "platform/resources/moved_pointers.h"

namespace vexmar::resources {

std::optional<uint64_t> OutputOffset(const ImagePlan& plan, uint64_t input_offset,
                                     uint64_t input_size) {
  uint64_t output = 0;
  for (const OutputPiece& piece : plan.pieces) {
    if (piece.kind == OutputPiece::Kind::kInput && input_offset >= piece.inputOffset &&
        input_offset - piece.inputOffset < piece.length) {
      return output + (input_offset - piece.inputOffset);
    }
    output += piece.length;
  }
  // A table that starts right at the end of the file (an empty one).
  if (input_offset == input_size) {
    return output;
  }
  return std::nullopt;
}

void PatchPlanU32(ImagePlan& plan, uint64_t input_offset, uint32_t value) {
  std::vector<uint8_t> bytes(4);
  StoreU32(bytes.data(), value);
  plan.patches[input_offset] = std::move(bytes);
}

void FixMovedFilePointers(ByteSource& input, const PeImage& image, ImagePlan& plan,
                          int64_t va_delta, uint64_t moved_va_begin) {
  if (image.pointerToSymbolTable != 0) {
    if (auto moved = OutputOffset(plan, image.pointerToSymbolTable, image.fileSize)) {
      PatchPlanU32(plan, image.PointerToSymbolTableOffset(), static_cast<uint32_t>(*moved));
    }
  }
  const DataDirectory debug = image.Directory(kDebugDirectory);
  if (debug.rva == 0 || debug.size == 0) {
    return;
  }
  // A debug directory that cannot be read is left alone: it was already
  // unusable, and the update need not fail because of it.
  auto table_offset = image.RvaToFileOffset(debug.rva, debug.size);
  if (!table_offset) {
    return;
  }
  auto table = ReadBytes(input, table_offset.value(), debug.size);
  if (!table) {
    return;
  }
  const ByteView view(table.value());
  for (uint64_t at = 0; at + debug_directory::kSize <= debug.size; at += debug_directory::kSize) {
    const uint64_t address_at = at + debug_directory::kAddressOfRawData;
    const uint64_t pointer_at = at + debug_directory::kPointerToRawData;
    uint32_t address = 0;
    uint32_t pointer = 0;
    if (!view.U32(address_at, address) || !view.U32(pointer_at, pointer)) {
      return;  // as unreadable as a table that cannot be found
    }
    if (address != 0 && va_delta != 0 && address >= moved_va_begin) {
      PatchPlanU32(plan, table_offset.value() + address_at,
                   static_cast<uint32_t>(static_cast<int64_t>(address) + va_delta));
    }
    if (pointer != 0) {
      if (auto moved = OutputOffset(plan, pointer, image.fileSize)) {
        PatchPlanU32(plan, table_offset.value() + pointer_at, static_cast<uint32_t>(*moved));
      }
    }
  }
}

}  // namespace vexmar::resources
