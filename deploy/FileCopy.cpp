#include "FileCopy.h"

#include "SearchRec.h"
#include "TargetFolder.h"

namespace {

// Every classic attribute bit: the search then leaves out no entry, and the decision is ours.
constexpr DWORD anyAttribute = 0x3F;

} // namespace

void CopyTally::Add(CopyOutcome outcome) {
    switch (outcome) {
    case CopyOutcome::Copied:
        ++copied;
        break;
    case CopyOutcome::Pending:
        ++pending;
        break;
    case CopyOutcome::Failed:
        ++failed;
        break;
    }
}

CopyTally& CopyTally::operator+=(const CopyTally& other) {
    copied += other.copied;
    pending += other.pending;
    failed += other.failed;
    return *this;
}

bool IsCopiedEntry(const AnsiString& name, DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && name != AnsiString(".") &&
           name != AnsiString("..");
}

CopyTally CopyFileIntoFolder(const AnsiString& source, const AnsiString& targetDir, const AnsiString& name,
                             const ReplaceCalls& calls) {
    CopyTally tally;
    const TargetFolder folder(targetDir);
    if (folder.IsRefused()) {
        tally.Add(CopyOutcome::Failed);
        return tally;
    }
    DeleteLeftoverTemporaries(targetDir);
    tally.Add(ReplaceFileSafely(source, targetDir + name, calls));
    return tally;
}

CopyTally CopyDirectoryFiles(const AnsiString& sourceDir, const AnsiString& targetDir, const AnsiString& mask,
                             const ReplaceCalls& calls) {
    CopyTally tally;
    const TargetFolder folder(targetDir);
    if (!folder.IsRefused()) {
        DeleteLeftoverTemporaries(targetDir);
    }
    TSearchRec entry;
    for (bool found = entry.FindFirst(sourceDir + mask, anyAttribute); found; found = entry.FindNext()) {
        if (IsCopiedEntry(entry.Name, entry.Attr)) {
            tally.Add(folder.IsRefused()
                          ? CopyOutcome::Failed
                          : ReplaceFileSafely(sourceDir + entry.Name, targetDir + entry.Name, calls));
        }
    }
    return tally;
}
