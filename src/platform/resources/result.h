#pragma once
// Failures of the resource engine are values, as everywhere in the program: a
// Result holds either the value or an Error whose reason a person can read
// ("section table lies outside the file"). Nothing in the engine throws
// across its interface.
#include "platform/result.h"

namespace vexmar::resources {

using vexmar::Error;
using vexmar::Fail;
using vexmar::Result;
using vexmar::Status;

}  // namespace vexmar::resources
