#pragma once

#include "AnsiString.h"
#include "SafeReplace.h"

#include <windows.h>

// How the files of one patch step ended.
struct CopyTally {
    int copied = 0;
    int pending = 0; // replaced at the next restart
    int failed = 0;

    void Add(CopyOutcome outcome);
    CopyTally& operator+=(const CopyTally& other);
};

// Whether a directory entry is a file that the patch copies: everything but directories, whatever
// its other attribute bits (normal, compressed, not indexed, encrypted, temporary, offline ...).
bool IsCopiedEntry(const AnsiString& name, DWORD attributes);

// Replaces targetDir + name (targetDir with its trailing backslash) with source. A targetDir that
// is a link, or none, is not written into: the file fails.
CopyTally CopyFileIntoFolder(const AnsiString& source, const AnsiString& targetDir, const AnsiString& name,
                             const ReplaceCalls& calls = ReplaceCalls());

// Copies every file of sourceDir that matches mask into targetDir (both with their trailing
// backslash), replacing files of the same name. Not recursive; targetDir is never created, and a
// targetDir that is a link is not written into: each of its files fails. A failed copy does not
// stop the others. A missing or empty source folder tries none.
CopyTally CopyDirectoryFiles(const AnsiString& sourceDir, const AnsiString& targetDir, const AnsiString& mask,
                             const ReplaceCalls& calls = ReplaceCalls());
