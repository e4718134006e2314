#include "SafeReplace.h"

#include "Handles.h"
#include "PathText.h"
#include "SearchRec.h"

namespace {

constexpr DWORD protectingAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// MOVEFILE_WRITE_THROUGH makes the move itself durable; the moved file's data is flushed before.
constexpr DWORD moveInPlace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

DWORD LastErrorOf(BOOL worked) {
    if (worked) {
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

// Attributes that a file is left with once read-only, hidden and system are taken off.
DWORD WithoutProtection(DWORD attributes) {
    const DWORD cleared = attributes & ~protectingAttributes;
    return cleared != 0 ? cleared : FILE_ATTRIBUTE_NORMAL;
}

// A UNC path (\\server\share\...): Windows carries out only local renames at a restart.
bool IsNetworkPath(const AnsiString& path) {
    return path.SubString(1, 2) == AnsiString("\\\\");
}

TargetFacts FactsAbout(const AnsiString& target, const ReplaceCalls& calls) {
    const DWORD attributes = calls.getFileAttributes(target.c_str());
    TargetFacts facts;
    facts.exists = attributes != INVALID_FILE_ATTRIBUTES;
    facts.isReparsePoint = facts.exists && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.isProtected = facts.exists && (attributes & protectingAttributes) != 0;
    facts.onNetworkShare = IsNetworkPath(target);
    return facts;
}

// Walks the ladder for one file: each step is one call (or two) of the system, the ladder says
// what follows, and the end puts the folder in order for the outcome reached.
class Replacement {
  public:
    Replacement(const AnsiString& source, const AnsiString& target, const ReplaceCalls& calls)
        : source_(source), target_(target), folder_(DirectoryPart(target)), calls_(calls) {}

    CopyOutcome Run() {
        const TargetFacts facts = FactsAbout(target_, calls_);
        ReplaceStep step = FirstReplaceStep(facts);
        while (!IsOutcome(step)) {
            step = NextReplaceStep(step, Take(step), facts);
        }
        Finish(step);
        return OutcomeOf(step);
    }

  private:
    DWORD Take(ReplaceStep step) {
        switch (step) {
        case ReplaceStep::CopyToTemporary:
            return CopyToTemporary();
        case ReplaceStep::Flush:
            return LastErrorOf(calls_.flushFile(temporary_.c_str()));
        case ReplaceStep::MoveOver:
        case ReplaceStep::MoveIn:
            return LastErrorOf(calls_.moveFileEx(temporary_.c_str(), target_.c_str(), moveInPlace));
        case ReplaceStep::UnprotectAndMove:
            return UnprotectAndMove();
        case ReplaceStep::RenameAside:
            return RenameAside();
        case ReplaceStep::RenameBack:
            return RenameBack();
        case ReplaceStep::ScheduleReplacement:
            return LastErrorOf(calls_.moveFileEx(temporary_.c_str(), target_.c_str(),
                                                 MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING));
        default:
            return ERROR_INVALID_FUNCTION;
        }
    }

    // GetTempFileNameA makes the file, so the name is unique in the folder when it is given.
    DWORD MakeUniqueName(AnsiString& name) {
        std::vector<char> buffer(MAX_PATH + 1);
        if (calls_.getTempFileName(folder_.c_str(), temporaryPrefix, 0, buffer.data()) == 0) {
            return LastErrorOf(FALSE);
        }
        name = AnsiString(buffer.data());
        return ERROR_SUCCESS;
    }

    DWORD CopyToTemporary() {
        const DWORD error = MakeUniqueName(temporary_);
        return error != ERROR_SUCCESS
                   ? error
                   : LastErrorOf(calls_.copyFile(source_.c_str(), temporary_.c_str(), FALSE));
    }

    // Windows refuses to replace a read-only or hidden file, and files installed from CD media
    // usually are read-only.
    DWORD UnprotectAndMove() {
        const DWORD attributes = calls_.getFileAttributes(target_.c_str());
        if (!calls_.setFileAttributes(target_.c_str(), WithoutProtection(attributes))) {
            return LastErrorOf(FALSE);
        }
        clearedAttributes_ = attributes;
        return LastErrorOf(calls_.moveFileEx(temporary_.c_str(), target_.c_str(), moveInPlace));
    }

    // A running program's file can be renamed though it cannot be replaced: the program goes on
    // from the renamed file, and its next start finds the corrected one.
    DWORD RenameAside() {
        AnsiString aside;
        if (const DWORD error = MakeUniqueName(aside); error != ERROR_SUCCESS) {
            return error;
        }
        const DWORD error =
            LastErrorOf(calls_.moveFileEx(target_.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
        if (error != ERROR_SUCCESS) {
            calls_.deleteFile(aside.c_str());
            return error;
        }
        aside_ = aside;
        return ERROR_SUCCESS;
    }

    DWORD RenameBack() {
        const DWORD error = LastErrorOf(calls_.moveFileEx(aside_.c_str(), target_.c_str(), 0));
        if (error == ERROR_SUCCESS) {
            aside_ = AnsiString();
        }
        return error;
    }

    void Finish(ReplaceStep end) {
        if (end == ReplaceStep::Failed) {
            DeleteTemporary();
            RestoreAttributes();
        }
        // A file renamed aside stays while its program runs: it goes at the restart.
        if (!aside_.IsEmpty() && !calls_.moveFileEx(aside_.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            calls_.deleteFile(aside_.c_str());
        }
        // A pending replacement keeps the target unprotected: the rename at the restart would be
        // refused by a read-only target just as the move now was.
    }

    // A temporary copy of a read-only source is read-only, and DeleteFileA refuses it.
    void DeleteTemporary() {
        if (temporary_.IsEmpty()) {
            return;
        }
        calls_.setFileAttributes(temporary_.c_str(), FILE_ATTRIBUTE_NORMAL);
        calls_.deleteFile(temporary_.c_str());
    }

    void RestoreAttributes() {
        if (clearedAttributes_ != INVALID_FILE_ATTRIBUTES) {
            calls_.setFileAttributes(target_.c_str(), clearedAttributes_);
        }
    }

    const AnsiString source_;
    const AnsiString target_;
    const AnsiString folder_;
    const ReplaceCalls& calls_;
    AnsiString temporary_;
    AnsiString aside_;
    DWORD clearedAttributes_ = INVALID_FILE_ATTRIBUTES;
};

// "\??\C:\dir\file" or "!\??\C:\dir\file" as the plain path "C:\dir\file".
AnsiString PlainPendingPath(AnsiString entry) {
    if (entry.SubString(1, 1) == AnsiString("!")) {
        entry.Delete(1, 1);
    }
    if (entry.SubString(1, 4) == AnsiString("\\??\\")) {
        entry.Delete(1, 4);
    }
    return entry;
}

} // namespace

const char temporaryPrefix[] = "cvl";

ReplaceCalls::ReplaceCalls() : flushFile(FlushFileToDisk) {}

BOOL WINAPI FlushFileToDisk(LPCSTR path) {
    const DWORD attributes = GetFileAttributesA(path);
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) {
        SetFileAttributesA(path, WithoutProtection(attributes));
    }
    BOOL flushed = FALSE;
    {
        const UniqueHandle file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        flushed = file.valid() && FlushFileBuffers(file.get());
    }
    const DWORD error = GetLastError();
    if (readOnly) {
        SetFileAttributesA(path, attributes);
    }
    SetLastError(error);
    return flushed;
}

CopyOutcome ReplaceFileSafely(const AnsiString& source, const AnsiString& target, const ReplaceCalls& calls) {
    return Replacement(source, target, calls).Run();
}

bool IsTemporaryName(const AnsiString& name) {
    const AnsiString upper = name.UpperCase();
    return upper.Length() > 7 && upper.SubString(1, 3) == AnsiString("CVL") &&
           upper.SubString(upper.Length() - 3, 4) == AnsiString(".TMP");
}

bool IsScheduledPath(const AnsiString& path, const std::vector<AnsiString>& pendingEntries) {
    const AnsiString wanted = path.UpperCase();
    for (const AnsiString& entry : pendingEntries) {
        if (!entry.IsEmpty() && PlainPendingPath(entry).UpperCase() == wanted) {
            return true;
        }
    }
    return false;
}

std::vector<AnsiString> ReadPendingRenames() {
    std::vector<AnsiString> entries;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return entries;
    }
    const UniqueKey key(opened);
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0) {
        return entries;
    }
    std::vector<char> data(size + 2, '\0');
    if (RegQueryValueExA(key.get(), "PendingFileRenameOperations", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
        return entries;
    }
    // A deletion's empty destination is an empty entry: the list ends only at the data's end.
    for (size_t start = 0; start < size;) {
        const std::string entry(data.data() + start);
        entries.emplace_back(entry);
        start += entry.size() + 1;
    }
    return entries;
}

void DeleteLeftoverTemporaries(const AnsiString& folder) {
    const std::vector<AnsiString> pending = ReadPendingRenames();
    TSearchRec entry;
    for (bool found = entry.FindFirst(folder + temporaryPrefix + "*.tmp", 0x3F); found;
         found = entry.FindNext()) {
        const AnsiString path = folder + entry.Name;
        if ((entry.Attr & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsTemporaryName(entry.Name) &&
            !IsScheduledPath(path, pending)) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
}
