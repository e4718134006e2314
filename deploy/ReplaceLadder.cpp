#include "ReplaceLadder.h"

namespace {

// Windows gives 5 or 32 for a read-only or hidden target, an ACL, a running program or an open
// file alike: the code says only that the move was refused, not why.
bool IsRefusal(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

ReplaceStep ScheduleUnlessRemote(const TargetFacts& target) {
    return target.onNetworkShare ? ReplaceStep::Failed : ReplaceStep::ScheduleReplacement;
}

// The move was refused: the next way round the refusal that is left after step.
ReplaceStep AfterRefusedMove(ReplaceStep step, const TargetFacts& target) {
    if (step == ReplaceStep::MoveOver && target.isProtected) {
        return ReplaceStep::UnprotectAndMove;
    }
    if (target.exists) {
        return ReplaceStep::RenameAside;
    }
    return ScheduleUnlessRemote(target);
}

} // namespace

ReplaceStep FirstReplaceStep(const TargetFacts& target) {
    return target.isReparsePoint ? ReplaceStep::Failed : ReplaceStep::CopyToTemporary;
}

ReplaceStep NextReplaceStep(ReplaceStep step, DWORD error, const TargetFacts& target) {
    const bool worked = error == ERROR_SUCCESS;
    switch (step) {
    case ReplaceStep::CopyToTemporary:
        return worked ? ReplaceStep::Flush : ReplaceStep::Failed;
    case ReplaceStep::Flush:
        return worked ? ReplaceStep::MoveOver : ReplaceStep::Failed;
    case ReplaceStep::MoveOver:
    case ReplaceStep::UnprotectAndMove:
        if (worked) {
            return ReplaceStep::Copied;
        }
        return IsRefusal(error) ? AfterRefusedMove(step, target) : ReplaceStep::Failed;
    case ReplaceStep::RenameAside:
        if (worked) {
            return ReplaceStep::MoveIn;
        }
        return IsRefusal(error) ? ScheduleUnlessRemote(target) : ReplaceStep::Failed;
    case ReplaceStep::MoveIn:
        return worked ? ReplaceStep::Copied : ReplaceStep::RenameBack;
    case ReplaceStep::RenameBack:
        // Even when the old file could not get its name back, the scheduled replacement puts the
        // corrected one there at the restart.
        return ScheduleUnlessRemote(target);
    case ReplaceStep::ScheduleReplacement:
        return worked ? ReplaceStep::Pending : ReplaceStep::Failed;
    case ReplaceStep::Copied:
    case ReplaceStep::Pending:
    case ReplaceStep::Failed:
        break;
    }
    return step;
}

bool IsOutcome(ReplaceStep step) {
    return step == ReplaceStep::Copied || step == ReplaceStep::Pending || step == ReplaceStep::Failed;
}

CopyOutcome OutcomeOf(ReplaceStep end) {
    switch (end) {
    case ReplaceStep::Copied:
        return CopyOutcome::Copied;
    case ReplaceStep::Pending:
        return CopyOutcome::Pending;
    default:
        return CopyOutcome::Failed;
    }
}
