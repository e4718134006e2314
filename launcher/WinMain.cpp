#include "DllSearch.h"
#include "Guard.h"
#include "InstallAndPatch.h"

#include <windows.h>

// The command line is ignored: every name the launcher uses is fixed.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything can load a DLL: the launcher runs as administrator from a folder that may
    // hold files of anyone's.
    RestrictDllSearchToSystem32();
    return static_cast<int>(RunGuarded(InstallAndPatch));
}
