#pragma once

#include "AnsiString.h"

#include <windows.h>

// The call that copies one file, replacing an existing target: CopyFileA, or a stand-in in tests.
using CopyPrimitive = BOOL(WINAPI*)(LPCSTR existingFile, LPCSTR newFile, BOOL failIfExists);

// Copies source over target. Windows refuses to replace a read-only or hidden file, and files
// installed from CD media usually are read-only: when the copy is refused and the target carries
// read-only, hidden or system, those attributes are cleared and the copy is tried once more.
// True when the file was copied.
bool CopyFileReplacing(const AnsiString& source, const AnsiString& target, CopyPrimitive copy = CopyFileA);

// Whether a directory entry is a file that the patch copies: everything but directories, whatever
// its other attribute bits (normal, compressed, not indexed, encrypted, temporary, offline ...).
bool IsCopiedEntry(const AnsiString& name, DWORD attributes);

// Copies every file of sourceDir that matches mask into targetDir (both with their trailing
// backslash), replacing files of the same name. Not recursive; targetDir is never created. A
// failed copy does not stop the others. Gives the number of copies that failed: a missing or
// empty source folder tries none.
int CopyDirectoryFiles(const AnsiString& sourceDir, const AnsiString& targetDir, const AnsiString& mask,
                       CopyPrimitive copy = CopyFileA);
