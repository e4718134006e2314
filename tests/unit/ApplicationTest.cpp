#include "Application.h"
#include "DialogWatcher.h"
#include "ModuleFileName.h"

#include "Printers.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct TitleCase {
    const char* exePath;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const TitleCase& c) {
    return out << '\"' << Printable(c.exePath) << '\"';
}

class DefaultTitleTest : public testing::TestWithParam<TitleCase> {};

TEST_P(DefaultTitleTest, IsTheFileNameWithoutExtensionFirstLetterKept) {
    EXPECT_EQ(DefaultTitleFromPath(GetParam().exePath), AnsiString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DefaultTitleTest,
    testing::Values(TitleCase{"D:\\LAUNCH.EXE", "Launch"}, TitleCase{"C:\\My Dist\\launcher.exe", "launcher"},
                    TitleCase{"C:\\Dist\\Setup.patch.exe", "Setup"}, // cut at the first dot
                    TitleCase{"C:\\dir.v2\\Install", "Install"},     // dots of folders don't count
                    TitleCase{"C:\\x\\aBC.exe", "abc"}));            // first letter keeps its case

TEST(ApplicationTest, WindowCarriesTheTitleDerivedFromTheProgramFile) {
    EXPECT_EQ(Application().Title(), AnsiString("unit_tests"));
    EXPECT_NE(Application().Handle(), nullptr);
    EXPECT_FALSE(IsWindowVisible(Application().Handle()));
}

TEST(ApplicationTest, MakesItsWindowOnlyWhenABoxNeedsIt) {
    Application().Initialize();
    EXPECT_FALSE(Application().ExeName().IsEmpty());
    EXPECT_FALSE(Application().HasWindow());
    EXPECT_EQ(Application().Title(), AnsiString("unit_tests"));
    EXPECT_TRUE(Application().HasWindow());
}

TEST(ApplicationTest, ExeNameIsTheFullPathOfTheRunningProgram) {
    const AnsiString exeName = Application().ExeName();
    EXPECT_EQ(exeName.UpperCase().SubString(exeName.Length() - 14, 15), AnsiString("\\UNIT_TESTS.EXE"));
    EXPECT_EQ(exeName.SubString(2, 2), AnsiString(":\\"));
}

TEST(ApplicationTest, ModuleFileNameGrowsItsBufferUntilThePathFits) {
    const AnsiString whole = ModuleFileName(nullptr, 32768);
    ASSERT_GT(whole.Length(), 20);
    const DWORD length = static_cast<DWORD>(whole.Length());
    for (DWORD firstSize : std::vector<DWORD>{1, 4, 16, length, length + 1}) {
        EXPECT_EQ(ModuleFileName(nullptr, firstSize), whole) << "first buffer size " << firstSize;
    }
}

struct BoxTextCase {
    const char* message;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const BoxTextCase& c) {
    return out << '\"' << Printable(c.message) << '\"';
}

class ExceptionBoxTextTest : public testing::TestWithParam<BoxTextCase> {};

TEST_P(ExceptionBoxTextTest, AppendsAPeriodAfterALetterOrDigitOnly) {
    EXPECT_EQ(ExceptionBoxText(GetParam().message), AnsiString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExceptionBoxTextTest,
    testing::Values(BoxTextCase{"Out of memory", "Out of memory."}, BoxTextCase{"Error 5", "Error 5."},
                    BoxTextCase{"Done.", "Done."}, BoxTextCase{"Stop!", "Stop!"},
                    BoxTextCase{"(none)", "(none)"}, BoxTextCase{"a-", "a-"}, BoxTextCase{"", ""},
                    // A Cyrillic last letter (0xE0 in 1251) is above '.' as a byte.
                    BoxTextCase{"\xC3\xF0\xE5\xF8\xEA\xE0", "\xC3\xF0\xE5\xF8\xEA\xE0."}));

TEST(ApplicationTest, ShowExceptionShowsTheErrorBoxOwnedByTheApplicationWindow) {
    {
        DialogWatcher watcher;
        Application().ShowException("Disk full");
        const std::vector<SeenBox> boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, L"unit_tests");
        EXPECT_EQ(boxes[0].text, L"Disk full.");
        EXPECT_EQ(boxes[0].buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_EQ(boxes[0].owner, Application().Handle());
    }
}

} // namespace
