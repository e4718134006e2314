#include "PathText.h"

#include "Printers.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct DirectoryPartCase {
    const char* path;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const DirectoryPartCase& c) {
    return out << '\"' << Printable(c.path) << '\"';
}

class DirectoryPartTest : public testing::TestWithParam<DirectoryPartCase> {};

TEST_P(DirectoryPartTest, KeepsEverythingUpToTheLastDelimiter) {
    EXPECT_EQ(DirectoryPart(GetParam().path), AnsiString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DirectoryPartTest,
    testing::Values(DirectoryPartCase{"C:\\Apps\\Corvane\\UNINSTALL.EXE", "C:\\Apps\\Corvane\\"},
                    DirectoryPartCase{"C:\\Apps\\Corvane\\", "C:\\Apps\\Corvane\\"},
                    DirectoryPartCase{"C:\\My Dist\\launcher.exe", "C:\\My Dist\\"},
                    DirectoryPartCase{"C:remove.exe", "C:"}, DirectoryPartCase{"C:", "C:"},
                    DirectoryPartCase{"\\\\srv\\apps\\x.exe", "\\\\srv\\apps\\"},
                    DirectoryPartCase{"MsiExec", ""}, DirectoryPartCase{"", ""}));

} // namespace
