#pragma once

// What the launcher's exit code tells a script that started it.
enum class ExitCode : int {
    Success = 0,              // the sequence ran through
    InstallerNotStarted = 1,  // SETUP.EXE could not be started; its box was shown
    InstallationNotFound = 2, // no uninstall entry names the installation: nothing was copied
    CopyFailed = 3,           // at least one copy of the patch failed; the others were still made
    ErrorShown = 4,           // an unexpected error was shown in the error box
};
