#include "ExitCode.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(PatchExitCodeTest, FailedOutweighsPendingOutweighsSuccess) {
    struct Case {
        int failed;
        int pending;
        ExitCode expected;
    };
    for (const Case& c : {Case{0, 0, ExitCode::Success}, Case{0, 1, ExitCode::RestartRequired},
                          Case{0, 7, ExitCode::RestartRequired}, Case{1, 0, ExitCode::CopyFailed},
                          Case{1, 1, ExitCode::CopyFailed}, Case{3, 2, ExitCode::CopyFailed}}) {
        EXPECT_EQ(static_cast<int>(PatchExitCode(c.failed, c.pending)), static_cast<int>(c.expected))
            << c.failed << " failed, " << c.pending << " pending";
    }
    // What deployment tools read as "success, restart required".
    EXPECT_EQ(static_cast<int>(ExitCode::RestartRequired), ERROR_SUCCESS_REBOOT_REQUIRED);
}

} // namespace
