#include "SearchRec.h"

namespace {

// The classic attribute bits that a search leaves out unless it is asked for them.
constexpr DWORD volumeLabel = 0x08;
constexpr DWORD specialEntries =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | volumeLabel | FILE_ATTRIBUTE_DIRECTORY;

} // namespace

bool TSearchRec::FindFirst(const AnsiString& pattern, DWORD attributeSet) {
    FindClose();
    excluded_ = specialEntries & ~attributeSet;
    WIN32_FIND_DATAA entry{};
    search_.reset(FindFirstFileA(pattern.c_str(), &entry));
    if (!search_.valid() || !SkipToMatch(entry)) {
        FindClose();
        return false;
    }
    return true;
}

bool TSearchRec::FindNext() {
    WIN32_FIND_DATAA entry{};
    return search_.valid() && FindNextFileA(search_.get(), &entry) && SkipToMatch(entry);
}

bool TSearchRec::IsLeftOut(DWORD attributes) const {
    return (attributes & excluded_) != 0;
}

bool TSearchRec::SkipToMatch(WIN32_FIND_DATAA& entry) {
    while (IsLeftOut(entry.dwFileAttributes)) {
        if (!FindNextFileA(search_.get(), &entry)) {
            return false;
        }
    }
    Name = entry.cFileName;
    Attr = entry.dwFileAttributes;
    return true;
}
