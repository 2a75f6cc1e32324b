#pragma once
// Streams an updated image: the pieces of an ImagePlan, with its patches,
// and the new resource section whose entry data is read from its sources
// while writing; late entries are written over the zeros that held their
// place at the end. Memory use is one copy buffer, whatever the data size.
#include "platform/resources/byte_io.h"
#include "platform/resources/image_plan.h"
#include "platform/resources/result.h"
#include "platform/resources/tree_writer.h"

namespace vexmar::resources {

Status WriteImage(ByteSource& input, const ImagePlan& plan, const TreeLayout& tree,
                  ByteSink& output);

}  // namespace vexmar::resources
