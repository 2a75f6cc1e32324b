#pragma once
// COM objects delete themselves in Release, never through a pointer to an
// interface, so the interfaces' non-virtual destructors are by design; the
// warning is silenced for the files that implement COM objects only.
#include <ole2.h>
#include <windows.h>

#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
