// Tests whose outcome depends on the system's ANSI code page. CTest runs this program once per code
// page (1252, 1251 and 932); each test states what a user of that code page must get.
#include "AnsiString.h"
#include "DialogWatcher.h"
#include "PathText.h"
#include "Printers.h"
#include "RegisteredCodePage.h"
#include "RunAndWait.h"
#include "TestFiles.h"
#include "UserTexts.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

TEST(CodePageTest, RunsUnderTheCodePageItWasRegisteredFor) {
    EXPECT_EQ(GetACP(), RegisteredCodePage());
}

struct DirectoryPartCase {
    const char* path;
    const char* inDoubleByteCodePage; // code page 932
    const char* inSingleByteCodePage; // 1252 and 1251
};

std::ostream& operator<<(std::ostream& out, const DirectoryPartCase& c) {
    return out << '\"' << Printable(c.path) << '\"';
}

class DirectoryPartCodePageTest : public testing::TestWithParam<DirectoryPartCase> {};

// In Shift-JIS, "表" is 0x95 0x5C: its second byte is the code of "\" and must not cut the path.
TEST_P(DirectoryPartCodePageTest, TrailingByteOfADoubleByteCharacterIsNoDelimiter) {
    const DirectoryPartCase& c = GetParam();
    const char* expected = GetACP() == 932 ? c.inDoubleByteCodePage : c.inSingleByteCodePage;
    EXPECT_EQ(DirectoryPart(c.path), AnsiString(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DirectoryPartCodePageTest,
    testing::Values(DirectoryPartCase{"C:\\Apps\\\x95\x5Cx.exe", "C:\\Apps\\", "C:\\Apps\\\x95\x5C"},
                    DirectoryPartCase{"C:\\\x95\x5C\\uninst.exe", "C:\\\x95\x5C\\", "C:\\\x95\x5C\\"},
                    DirectoryPartCase{"\x95\x5C", "", "\x95\x5C"},
                    // A lead byte with nothing after it is a character of its own.
                    DirectoryPartCase{"C:\\a\\\x95", "C:\\a\\", "C:\\a\\"}));

TEST(CodePageTest, UpperCaseFollowsTheCodePage) {
    const AnsiString lower("c:\\\xE0\\");
    const AnsiString upper = lower.UpperCase();
    EXPECT_EQ(upper.Length(), lower.Length());
    if (GetACP() == 1252 || GetACP() == 1251) {
        // 0xE0 is "à" in 1252 and "а" in 1251; both have their capital at 0xC0.
        EXPECT_EQ(upper, AnsiString("C:\\\xC0\\"));
    }
}

TEST(CodePageTest, InstallerStartErrorsReadAsBulgarianOnEverySystem) {
    TempDir dir("cp box");
    ASSERT_TRUE(WriteBytes(dir.Path() + "TEXT.EXE", "not a program"));
    struct Case {
        std::string program;
        std::wstring headline;
    };
    for (const Case& c :
         {Case{"SETUP.EXE", missingFileHeadline}, Case{"TEXT.EXE", StartErrorHeadline(193)}}) {
        const std::string commandLine = "\"" + dir.Path() + c.program + "\"";
        DialogWatcher watcher;
        EXPECT_FALSE(RunAndWait(commandLine.c_str()));
        const std::vector<SeenBox> boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.headline + L"\r\n" + Widened(commandLine));
    }
}

} // namespace
