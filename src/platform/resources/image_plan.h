#pragma once
// Where the new resource section goes and which header fields change with
// it. The plan describes the output as pieces (ranges of the input, zero
// fill, the new section) plus small patches of input bytes, so the writer can
// stream the output in one pass without holding the file in memory.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/resources/byte_io.h"
#include "platform/resources/pe_image.h"
#include "platform/resources/result.h"

namespace vexmar::resources {

enum class Placement {
  kResizedInPlace,      // the resource section is last: it grows or shrinks
  kFollowingMoved,      // only .reloc or discardable sections follow: they move
  kRewrittenInSection,  // the new tree fits in the old section's space
  kNewSection,          // a new section is appended after the last one
};
const char* PlacementName(Placement placement);

struct OutputPiece {
  enum class Kind { kInput, kZeros, kTree };
  Kind kind = Kind::kInput;
  uint64_t inputOffset = 0;  // for kInput
  uint64_t length = 0;
};

struct ImagePlan {
  Placement placement = Placement::kResizedInPlace;
  uint32_t treeRva = 0;
  uint64_t treePieceSize = 0;  // the tree and its zero fill to FileAlignment
  std::vector<OutputPiece> pieces;
  // Replacement bytes keyed by input offset, applied while copying.
  std::map<uint64_t, std::vector<uint8_t>> patches;
  bool recomputeChecksum = false;
  uint64_t checksumOffset = 0;
  bool signatureRemoved = false;
  uint64_t outputSize = 0;
};

// Decides the placement for a tree of `tree_size` bytes. The tree's own
// bytes are not needed, only its size; `input` is read for the debug
// directory, whose file pointers may have to move.
Result<ImagePlan> PlanImage(ByteSource& input, const PeImage& image, int resource_section,
                            uint64_t tree_size);

}  // namespace vexmar::resources
