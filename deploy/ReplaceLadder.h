#pragma once

#include <windows.h>

// What became of one file of the patch.
enum class CopyOutcome {
    Copied,  // the corrected file is in place now
    Pending, // the corrected file replaces the installed one at the next restart
    Failed,  // the installed file is as it was
};

// The steps of a safe replacement, and the outcome each ladder ends in.
enum class ReplaceStep {
    CopyToTemporary,     // the source into a new temporary file beside the target
    Flush,               // the temporary file's data written to the disk
    MoveOver,            // the temporary file over the target in one step
    UnprotectAndMove,    // read-only, hidden and system cleared on the target, then moved again
    RenameAside,         // the target renamed to a unique name in its folder
    MoveIn,              // the temporary file moved to the free name
    RenameBack,          // the renamed target given its name back
    ScheduleReplacement, // the temporary file replaces the target at the next restart
    Copied,
    Pending,
    Failed,
};

// What the system reported about the target before the replacement began.
struct TargetFacts {
    bool exists = true;
    bool isReparsePoint = false; // a link: never written through
    bool isProtected = false;    // read-only, hidden or system
    bool onNetworkShare = false; // a UNC path: Windows carries out only local renames at a restart
};

// The first step for a target.
ReplaceStep FirstReplaceStep(const TargetFacts& target);

// The step that follows step, given the error it ended with (ERROR_SUCCESS when it worked).
ReplaceStep NextReplaceStep(ReplaceStep step, DWORD error, const TargetFacts& target);

// True for the steps that end a ladder.
bool IsOutcome(ReplaceStep step);
CopyOutcome OutcomeOf(ReplaceStep end);
