#pragma once

// What the launcher's exit code tells a script that started it.
enum class ExitCode : int {
    Success = 0,              // the sequence ran through
    InstallerNotStarted = 1,  // SETUP.EXE could not be started; its box was shown
    InstallationNotFound = 2, // no uninstall entry names the installation: nothing was copied
    CopyFailed = 3,           // at least one copy of the patch failed; the others were still made
    ErrorShown = 4,           // an unexpected error was shown in the error box
    // ERROR_SUCCESS_REBOOT_REQUIRED: every file is copied or replaces its installed one at the next
    // restart; deployment tools read it as success pending a restart.
    RestartRequired = 3010,
};

// The exit code of a sequence that reached the patch: a failed copy outweighs a pending one.
constexpr ExitCode PatchExitCode(int failedCopies, int pendingCopies) {
    if (failedCopies > 0) {
        return ExitCode::CopyFailed;
    }
    return pendingCopies > 0 ? ExitCode::RestartRequired : ExitCode::Success;
}
