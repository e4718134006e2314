#include "Guard.h"
#include "InstallAndPatch.h"

#include <windows.h>

// The command line is ignored: every name the launcher uses is fixed.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return static_cast<int>(RunGuarded(InstallAndPatch));
}
