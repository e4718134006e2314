#include "FileCopy.h"

#include "SearchRec.h"

namespace {

constexpr DWORD protectingAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// Every classic attribute bit: the search then leaves out no entry, and the decision is ours.
constexpr DWORD anyAttribute = 0x3F;

bool UnprotectTarget(const AnsiString& target) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & protectingAttributes) == 0) {
        return false;
    }
    const DWORD cleared = attributes & ~protectingAttributes;
    return SetFileAttributesA(target.c_str(), cleared != 0 ? cleared : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

} // namespace

bool CopyFileReplacing(const AnsiString& source, const AnsiString& target, CopyPrimitive copy) {
    if (copy(source.c_str(), target.c_str(), FALSE)) {
        return true;
    }
    // Only a refusal is worth a second try; a missing source or a file in use is not mended by
    // changing the target's attributes.
    return GetLastError() == ERROR_ACCESS_DENIED && UnprotectTarget(target) &&
           copy(source.c_str(), target.c_str(), FALSE);
}

bool IsCopiedEntry(const AnsiString& name, DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name != AnsiString(".") &&
           name != AnsiString("..");
}

int CopyDirectoryFiles(const AnsiString& sourceDir, const AnsiString& targetDir, const AnsiString& mask,
                       CopyPrimitive copy) {
    int failed = 0;
    TSearchRec entry;
    for (bool found = entry.FindFirst(sourceDir + mask, anyAttribute); found; found = entry.FindNext()) {
        if (IsCopiedEntry(entry.Name, entry.Attr) &&
            !CopyFileReplacing(sourceDir + entry.Name, targetDir + entry.Name, copy)) {
            ++failed;
        }
    }
    return failed;
}
