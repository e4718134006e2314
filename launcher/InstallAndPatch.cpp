#include "InstallAndPatch.h"

#include "Application.h"
#include "PathText.h"
#include "RunAndWait.h"

ExitCode InstallAndPatch() {
    const AnsiString exeDir = DirectoryPart(Application().ExeName());

    // Quoted, so that a distribution folder with blanks in its path cannot make Windows start a
    // program at a prefix of it ("D:\My.exe" for "D:\My Dist\SETUP.EXE").
    if (!RunAndWait("\"" + exeDir + "SETUP.EXE\"")) {
        return ExitCode::InstallerNotStarted;
    }
    return ExitCode::Success;
}
