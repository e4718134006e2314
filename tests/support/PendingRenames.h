#pragma once

#include <string>
#include <vector>

// PendingFileRenameOperations of the prefix: pairs of entries, a source ("\??\C:\dir\file") and
// its destination ("!\??\C:\dir\file" to replace, empty to delete). Shared by the whole prefix
// and carried out at its next wineboot: tests that schedule hold one lock and clear it.
std::vector<std::string> PendingRenameEntries();
void ClearPendingRenames();

struct PendingRename {
    std::string from; // plain path
    std::string to;   // plain path; empty for a deletion
};
std::vector<PendingRename> PendingRenamesList();
