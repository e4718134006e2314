#include "Guard.h"
#include "DialogWatcher.h"
#include "Exception.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

ExitCode ThrowsOutOfMemory() {
    throw EOutOfMemory();
}
ExitCode ThrowsException() {
    throw Exception("Registry closed");
}
ExitCode ThrowsStandardError() {
    throw std::runtime_error("vector too long");
}
ExitCode ThrowsSomethingElse() {
    throw 42;
}
ExitCode CopyFails() {
    return ExitCode::CopyFailed;
}

struct GuardCase {
    const char* name;
    ExitCode (*sequence)();
    ExitCode expectedCode;
    const wchar_t* expectedBox; // nullptr: no box
};

std::ostream& operator<<(std::ostream& out, const GuardCase& c) {
    return out << c.name;
}

class GuardTest : public testing::TestWithParam<GuardCase> {};

TEST_P(GuardTest, ShowsWhateverEscapesAndEndsInOrder) {
    const GuardCase& c = GetParam();
    DialogWatcher watcher;
    EXPECT_EQ(RunGuarded(c.sequence), c.expectedCode);
    const std::vector<SeenBox> boxes = watcher.Boxes();
    if (!c.expectedBox) {
        EXPECT_TRUE(boxes.empty());
        return;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, c.expectedBox);
    EXPECT_EQ(boxes[0].caption, L"unit_tests");
}

INSTANTIATE_TEST_SUITE_P(
    Table, GuardTest,
    testing::Values(
        GuardCase{"OutOfMemory", ThrowsOutOfMemory, ExitCode::ErrorShown, L"Out of memory."},
        GuardCase{"Exception", ThrowsException, ExitCode::ErrorShown, L"Registry closed."},
        GuardCase{"StandardError", ThrowsStandardError, ExitCode::ErrorShown, L"vector too long."},
        GuardCase{"AnythingElse", ThrowsSomethingElse, ExitCode::ErrorShown, L"Unexpected error."},
        GuardCase{"NothingThrown", CopyFails, ExitCode::CopyFailed, nullptr}),
    [](const testing::TestParamInfo<GuardCase>& param) { return param.param.name; });

} // namespace
