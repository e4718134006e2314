#pragma once

#include "AnsiString.h"

#include <windows.h>

// The full path of a loaded module (nullptr: the running program), however long it is.
// GetModuleFileNameA cuts a path that does not fit and says so only through its result, so the
// read is repeated with a larger buffer until the whole path fits; firstBufferSize lets a test
// start small.
AnsiString ModuleFileName(HMODULE module = nullptr, DWORD firstBufferSize = MAX_PATH + 1);
