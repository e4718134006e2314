#pragma once

#include "AnsiString.h"

#include <functional>
#include <vector>

// The product's installation directory, with its trailing backslash. The product's uninstall
// entry is looked for in three places, in this order: HKEY_LOCAL_MACHINE as this process sees it,
// HKEY_LOCAL_MACHINE in the 64-bit view, HKEY_CURRENT_USER. Each place offers the folder of the
// program its "UninstallString" starts, then its "InstallLocation"; the first of these that holds
// BIN\ or UDF\ is the installation. Empty text when none does. productKey is the name of the
// entry's key, with its trailing backslash ("Corvane\").
AnsiString FindInstallDir(const AnsiString& productKey);

// The program path at the start of a command line, as Windows reads it: the text between a
// leading double-quote character and the next one (or the end); else everything up to the first
// ".exe" (any case) that a blank, a double-quote character or the end follows; else the whole text.
AnsiString ProgramPathOf(const AnsiString& commandLine);

// The folder of the program that commandLine starts, or empty text unless that is a fully
// qualified directory.
AnsiString InstallDirFromUninstallString(const AnsiString& commandLine);

// The folder an "InstallLocation" value names: without a leading and a trailing double-quote
// character, with a trailing backslash; empty text unless that is a fully qualified directory.
AnsiString InstallDirFromInstallLocation(const AnsiString& location);

// A drive and root ("C:\...") or a UNC share ("\\server\share\..."), ending with "\", with no ":"
// but the drive's.
bool IsFullyQualifiedDirectory(const AnsiString& dir);

// Whether a path names an existing folder.
using FolderTest = std::function<bool(const AnsiString& path)>;

// The first candidate that is a fully qualified directory holding BIN\ or UDF\ (the two folders
// the patch writes into), or empty text when none is.
AnsiString FirstInstallation(const std::vector<AnsiString>& candidates, const FolderTest& isFolder);

// Whether an environment variable is defined.
using VariableTest = std::function<bool(const AnsiString& name)>;

// text with its references to %ProgramFiles% and %CommonProgramFiles% (any case) turned into
// %ProgramW6432% and %CommonProgramW6432% where isDefined says the system has those, so that
// expanding it gives the folders a 64-bit program sees. References are read as Windows expands
// them: from one "%" to the next.
AnsiString With64BitFolderVariables(const AnsiString& text, const VariableTest& isDefined);
