#pragma once
// File offsets that must follow the bytes they point to once the pieces of
// a plan are fixed: the COFF symbol table (whose string table holds mingw's
// long section names) and the data of debug directory entries.
#include <cstdint>
#include <optional>

#include "platform/resources/byte_io.h"
#include "platform/resources/image_plan.h"
#include "platform/resources/pe_image.h"

namespace vexmar::resources {

// Where input byte `input_offset` lands in the output, or nothing when the
// plan drops it (old resource data, a certificate table).
std::optional<uint64_t> OutputOffset(const ImagePlan& plan, uint64_t input_offset,
                                     uint64_t input_size);

void PatchPlanU32(ImagePlan& plan, uint64_t input_offset, uint32_t value);

// `va_delta` is how far sections from `moved_va_begin` on moved in the
// address space (0 when none did).
void FixMovedFilePointers(ByteSource& input, const PeImage& image, ImagePlan& plan,
                          int64_t va_delta, uint64_t moved_va_begin);

}  // namespace vexmar::resources
