#pragma once

#include <windows.h>

// The product's uninstall key below a root, as installers write it.
constexpr char productUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";

// Removes the product's uninstall entry, with its values and any subkeys, from every place the
// launcher looks: HKEY_LOCAL_MACHINE in the 32-bit and in the 64-bit view, and HKEY_CURRENT_USER.
// An entry left in any of them by one test would be found by the next.
void DeleteUninstallEntryEverywhere();

// Whether the product's uninstall key exists under root in the view given (0: the process's own).
bool UninstallEntryExists(HKEY root, REGSAM view);
