#include "Handles.h"
#include "RunAndWait.h"
#include "TestFiles.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

// The launcher's thread may own a window while it waits (after a box, or in code added later): a
// child that broadcasts must still be answered, or it never ends and neither does the wait.
TEST(WaitAnswersBroadcastsTest, ChildThatBroadcastsEndsWhileTheWaitingThreadOwnsAWindow) {
    std::promise<bool> ended;
    std::future<bool> result = ended.get_future();
    std::thread waiting([&ended] {
        const UniqueWindow window(CreateWindowExA(0, "STATIC", "owned by the waiting thread", WS_POPUP, 0, 0,
                                                  0, 0, nullptr, nullptr, GetModuleHandleA(nullptr),
                                                  nullptr));
        const std::string broadcaster = "\"" + TestProgramDir() + "broadcast.exe\"";
        ended.set_value(window.valid() && RunAndWait(broadcaster.c_str()));
    });
    if (result.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        // The child waits for the thread's window and the thread for the child: no join could return.
        waiting.detach();
        FAIL() << "RunAndWait did not return within 60 s: the broadcast waits for the window of the waiting "
                  "thread";
    }
    waiting.join();
    EXPECT_TRUE(result.get()) << "the window could not be made or the child could not be started";
}

} // namespace
