#pragma once

#include "ExitCode.h"

// The launcher's whole job: run the installer beside the launcher and wait for it, then patch the
// installation it made. Gives the exit code that tells how far it got.
ExitCode InstallAndPatch();
