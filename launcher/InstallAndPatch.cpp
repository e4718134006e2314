#include "InstallAndPatch.h"

#include "DirectoryTest.h"
#include "ErrorBox.h"
#include "FileCopy.h"
#include "FindInstallDir.h"
#include "PathText.h"
#include "RunAndWait.h"

namespace {

// The corrected program file, when the installation has its BIN\ folder.
CopyTally PatchProgramFile(const AnsiString& exeDir, const AnsiString& installDir) {
    if (!IsExistingDirectory(installDir + "BIN\\")) {
        return CopyTally();
    }
    return CopyFileIntoFolder(exeDir + "Patch\\bin\\Corvadmin.exe", installDir + "bin\\", "Corvadmin.exe");
}

// The files of Patch\UDF\, when the installation has its UDF\ folder.
CopyTally PatchUdfFiles(const AnsiString& exeDir, const AnsiString& installDir) {
    if (!IsExistingDirectory(installDir + "UDF\\")) {
        return CopyTally();
    }
    return CopyDirectoryFiles(exeDir + "Patch\\UDF\\", installDir + "UDF\\", "*.*");
}

// When no ANSI form names the launcher's folder, SETUP.EXE cannot be started from it: the box that
// says so shows the path as the user reads it, so that the reason can be seen.
void ShowInstallerOutOfReach(const std::wstring& exePath) {
    ShowErrorBox(
        StartFailureMessage(ERROR_FILE_NOT_FOUND, L"\"" + WideDirectoryPart(exePath) + L"SETUP.EXE\""));
}

} // namespace

ExitCode InstallAndPatch() {
    return InstallAndPatchFrom(OwnExePathW(), SystemShortPath);
}

ExitCode InstallAndPatchFrom(const std::wstring& exePath, ShortPathLookup shortPathOf) {
    const std::optional<AnsiString> ansiExePath = AnsiExePath(exePath, shortPathOf);
    if (!ansiExePath) {
        ShowInstallerOutOfReach(exePath);
        return ExitCode::InstallerNotStarted;
    }
    const AnsiString exeDir = DirectoryPart(*ansiExePath);

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

    // The two steps are independent: the UDF files are copied whatever became of the program file.
    CopyTally patch = PatchProgramFile(exeDir, installDir);
    patch += PatchUdfFiles(exeDir, installDir);
    return PatchExitCode(patch.failed, patch.pending);
}
