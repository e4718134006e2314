#pragma once

#include "AnsiString.h"
#include "ReplaceLadder.h"

#include <functional>
#include <vector>
#include <windows.h>

// The Windows calls a replacement makes: the real ones by default, stand-ins in tests.
struct ReplaceCalls {
    std::function<UINT(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name)> getTempFileName =
        GetTempFileNameA;
    std::function<BOOL(LPCSTR existing, LPCSTR newFile, BOOL failIfExists)> copyFile = CopyFileA;
    std::function<BOOL(LPCSTR path)> flushFile;
    std::function<BOOL(LPCSTR existing, LPCSTR newFile, DWORD flags)> moveFileEx = MoveFileExA;
    std::function<DWORD(LPCSTR path)> getFileAttributes = GetFileAttributesA;
    std::function<BOOL(LPCSTR path, DWORD attributes)> setFileAttributes = SetFileAttributesA;
    std::function<BOOL(LPCSTR path)> deleteFile = DeleteFileA;

    ReplaceCalls();
};

// Writes a file's data through to the disk (FlushFileBuffers), read-only or not.
BOOL WINAPI FlushFileToDisk(LPCSTR path);

// Replaces target with a copy of source so that target is at every moment either the installed
// file or the corrected one, never a part of either: the copy goes to a temporary file in
// target's folder and is moved over target in one step. A refused move walks the ladder of
// ReplaceLadder.h (clear the protection, rename the target aside, schedule for the restart).
CopyOutcome ReplaceFileSafely(const AnsiString& source, const AnsiString& target,
                              const ReplaceCalls& calls = ReplaceCalls());

// The prefix of every temporary and renamed-aside file the replacement makes ("cvl1A2B.tmp"):
// such a name never matches the product's own patterns, in its long or in its short form.
extern const char temporaryPrefix[];

// Whether a file name is of the replacement's temporary pattern ("cvl*.tmp").
bool IsTemporaryName(const AnsiString& name);

// Whether path is named in the entries of PendingFileRenameOperations ("\??\C:\dir\file", a
// destination with a leading "!"), without regard to case.
bool IsScheduledPath(const AnsiString& path, const std::vector<AnsiString>& pendingEntries);

// The entries of PendingFileRenameOperations; none when the value is missing.
std::vector<AnsiString> ReadPendingRenames();

// Deletes the temporary files an interrupted earlier run left in folder (with its trailing
// backslash), except those that still wait to replace their target at the restart.
void DeleteLeftoverTemporaries(const AnsiString& folder);
