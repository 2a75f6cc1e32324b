#pragma once
// Put in front of every file the stub compiles (VEXMAR_VIEWER_FLAGS). The
// C++ library declares the members of std::string and std::wstring as
// compiled once, inside the library; a call to any of them links the
// library's whole string objects, and with them the exception machinery,
// the unwinder and the threads library those use: over 110 KB in every
// book, for code the stub never runs (it is built without exceptions). With
// the declarations switched off, each file compiles the members it calls,
// and the linker keeps only those.
#include <bits/c++config.h>

#undef _GLIBCXX_EXTERN_TEMPLATE
// The library's own setting for "no such declarations for basic_string,
// every other class as usual".
#define _GLIBCXX_EXTERN_TEMPLATE -1
