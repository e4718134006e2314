#pragma once

#include "AnsiString.h"

// The text up to and including the last "\" or ":" of path; empty when it holds neither.
// A trailing byte of a double-byte character never counts as a delimiter.
AnsiString DirectoryPart(const AnsiString& path);
