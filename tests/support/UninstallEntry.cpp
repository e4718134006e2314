#include "UninstallEntry.h"

#include "Handles.h"

namespace {

// RegDeleteKeyA and RegDeleteTreeA on the root reach the process's own view only: the view has
// to be part of the key the tree is deleted from, and of the final RegDeleteKeyExA.
void DeleteEntry(HKEY root, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, productUninstallKey, 0, KEY_ALL_ACCESS | view, &opened) != ERROR_SUCCESS) {
        return;
    }
    {
        const UniqueKey key(opened);
        RegDeleteTreeA(key.get(), nullptr);
    }
    RegDeleteKeyExA(root, productUninstallKey, view, 0);
}

} // namespace

void DeleteUninstallEntryEverywhere() {
    DeleteEntry(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY);
    DeleteEntry(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY);
    DeleteEntry(HKEY_CURRENT_USER, 0);
}

bool UninstallEntryExists(HKEY root, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, productUninstallKey, 0, KEY_READ | view, &opened) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueKey key(opened);
    return true;
}
