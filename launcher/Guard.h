#pragma once

#include "ExitCode.h"

// Runs sequence and gives its exit code. Whatever it throws is shown in the application's error
// box and ends as ExitCode::ErrorShown, so that no run ends in a crash.
ExitCode RunGuarded(ExitCode (*sequence)());
