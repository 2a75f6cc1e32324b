#pragma once
// A book is often started from a downloads folder that may hold anything,
// so no DLL may ever be loaded from beside it.
#include <windows.h>

namespace vexmar::viewer {

// Restricts the DLL search to System32. Call first thing in WinMain.
void RestrictDllSearchToSystem32();
// Loads a DLL from System32 by its full path.
HMODULE LoadSystemLibrary(const wchar_t* file_name);

}  // namespace vexmar::viewer
