#pragma once

#include "AnsiString.h"
#include "Handles.h"

#include <windows.h>

// One directory search: the current entry's long name and attribute word. Entries that are
// hidden, system, volume labels or directories are left out unless the attribute set given to
// FindFirst includes those bits (0x3F leaves out nothing). The search is closed by FindClose, by
// a new FindFirst, or when the record is destroyed.
class TSearchRec {
  public:
    AnsiString Name;
    DWORD Attr = 0;

    // Starts a search for pattern ("C:\dir\*.*"); false when no entry matches or the search
    // cannot run (a missing folder), with no search left open.
    bool FindFirst(const AnsiString& pattern, DWORD attributeSet);
    // Moves to the next matching entry; false when there is none.
    bool FindNext();
    void FindClose() { search_.reset(); }

  private:
    bool IsLeftOut(DWORD attributes) const;
    bool SkipToMatch(WIN32_FIND_DATAA& entry);

    UniqueFindHandle search_;
    DWORD excluded_ = 0;
};
