#pragma once
// The reader's place in a book, kept in %APPDATA%\Vexmar\Reader\: per user,
// never beside the book and never in the registry.
#include <windows.h>

#include <string>

#include "viewer/reader_state.h"

namespace vexmar::viewer {

// The file for this copy of the viewer (the book being read); empty when
// the reader has no settings folder.
std::wstring ReaderStatePath();
// An empty state when the file is missing, unreadable or not ours.
ReaderState LoadReaderState(const std::wstring& path);
// Written beside the old file under a name of its own and renamed over it,
// so a crash leaves the old place or the new, never half of one.
bool SaveReaderState(const std::wstring& path, const ReaderState& state);

}  // namespace vexmar::viewer
