#include "InstallAndPatch.h"

#include "Application.h"
#include "FindInstallDir.h"
#include "PathText.h"
#include "RunAndWait.h"

ExitCode InstallAndPatch() {
    const AnsiString exeDir = DirectoryPart(Application().ExeName());

    // Quoted, so that a distribution folder with blanks in its path cannot make Windows start a
    // program at a prefix of it ("D:\My.exe" for "D:\My Dist\SETUP.EXE").
    if (!RunAndWait("\"" + exeDir + "SETUP.EXE\"")) {
        return ExitCode::InstallerNotStarted;
    }

    // Without an installation folder the patch steps would be tried against the working directory,
    // which has nothing to do with the installation: stop instead.
    const AnsiString installDir = FindInstallDir("Corvane\\");
    if (installDir.IsEmpty()) {
        return ExitCode::InstallationNotFound;
    }
    return ExitCode::Success;
}
