// Removes the product's uninstall entry from every place the launcher looks, as the tests do
// before and after each run; the demo runs it before and after its sample installation.
#include "UninstallEntry.h"

int main() {
    DeleteUninstallEntryEverywhere();
    const bool left = UninstallEntryExists(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY) ||
                      UninstallEntryExists(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY) ||
                      UninstallEntryExists(HKEY_CURRENT_USER, 0);
    return left ? 1 : 0;
}
