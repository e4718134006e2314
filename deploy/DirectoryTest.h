#pragma once

#include "AnsiString.h"

// True only when path names an existing directory (with or without its trailing backslash).
bool IsExistingDirectory(const AnsiString& path);
