#pragma once

#include "ExitCode.h"
#include "OwnPath.h"

#include <string>

// The launcher's whole job: run the installer beside the launcher and wait for it, then patch the
// installation it made. Gives the exit code that tells how far it got.
ExitCode InstallAndPatch();

// The same for the launcher at exePath (its full Unicode path), with the short-path lookup given.
ExitCode InstallAndPatchFrom(const std::wstring& exePath, ShortPathLookup shortPathOf);
