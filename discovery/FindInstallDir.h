#pragma once

#include "AnsiString.h"

// The product's installation directory, with its trailing backslash: the folder of the program
// that the "UninstallString" of the product's uninstall entry under HKEY_LOCAL_MACHINE starts.
// Empty text when there is no entry, or no fully qualified folder in it. productKey is the name of
// the entry's key, with its trailing backslash ("Corvane\").
AnsiString FindInstallDir(const AnsiString& productKey);

// The program path at the start of a command line, as Windows reads it: the text between a
// leading double-quote character and the next one (or the end); else everything up to the first
// ".exe" (any case) that a blank, a double-quote character or the end follows; else the whole text.
AnsiString ProgramPathOf(const AnsiString& commandLine);

// The folder of the program that commandLine starts, or empty text unless that is a fully
// qualified directory.
AnsiString InstallDirFromUninstallString(const AnsiString& commandLine);

// A drive and root ("C:\...") or a UNC share ("\\server\share\..."), ending with "\", with no ":"
// but the drive's.
bool IsFullyQualifiedDirectory(const AnsiString& dir);
