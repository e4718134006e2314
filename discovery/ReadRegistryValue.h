#pragma once

#include "AnsiString.h"

#include <windows.h>

// What ReadRegistryValue reads: a string into textOut or an integer into integerOut.
enum RegistryValueKind { rkString = 1, rkInteger = 2 };

// Reads the value valueName of key under root. Only the output that matches kind is written; any
// other kind reads nothing. True when the key opened and the read raised nothing; every failure,
// whatever it is, ends as false and nothing is shown.
bool ReadRegistryValue(AnsiString key, AnsiString valueName, int kind, AnsiString& textOut, int& integerOut,
                       HKEY root);
