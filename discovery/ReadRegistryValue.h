#pragma once

#include "AnsiString.h"

#include <windows.h>

// What ReadRegistryValue reads: a string into textOut or an integer into integerOut.
enum RegistryValueKind { rkString = 1, rkInteger = 2 };

// Reads the value valueName of key under root. Only the output that matches kind is written; any
// other kind reads nothing. True when the key opened and the read raised nothing; every failure,
// whatever it is, ends as false and nothing is shown. When a string is read and typeOut is given,
// it receives the value's registry type (REG_SZ, REG_EXPAND_SZ; REG_NONE for a missing value), so
// that the caller can expand a REG_EXPAND_SZ text, which comes back as stored. view is added to
// the access rights: KEY_WOW64_64KEY or KEY_WOW64_32KEY reads that registry view, 0 the process's
// own.
bool ReadRegistryValue(AnsiString key, AnsiString valueName, int kind, AnsiString& textOut, int& integerOut,
                       HKEY root, DWORD* typeOut = nullptr, REGSAM view = 0);
