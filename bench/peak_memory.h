#pragma once
// The process's peak resident memory so far, in KiB (0 where unknown).
namespace vexmar::bench {
long PeakResidentKiB();
}
