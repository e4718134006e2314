#include "FindInstallDir.h"
#include "Handles.h"
#include "Printers.h"

#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>

namespace {

constexpr char uninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";

struct UninstallCase {
    const char* value; // what "UninstallString" holds
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const UninstallCase& c) {
    return out << Printable(c.value);
}

// The product's real uninstall entry under HKEY_LOCAL_MACHINE, written by the test as an
// installer would, and removed before and after.
class FindInstallDirTest : public testing::TestWithParam<UninstallCase> {
  protected:
    void SetUp() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, uninstallKey); }
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, uninstallKey); }

    static void WriteEntry(DWORD type, const std::string& data) {
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, uninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &created, nullptr),
                  ERROR_SUCCESS);
        const UniqueKey key(created);
        ASSERT_EQ(RegSetValueExA(key.get(), "UninstallString", 0, type,
                                 reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
};

TEST_P(FindInstallDirTest, TakesTheFolderOfTheUninstallProgram) {
    WriteEntry(REG_SZ, std::string(GetParam().value) + '\0');
    EXPECT_EQ(FindInstallDir("Corvane\\"), AnsiString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindInstallDirTest,
    testing::Values(
        UninstallCase{"\"C:\\Apps\\Corvane\\UNINSTALL.EXE\" -x", "C:\\Apps\\Corvane\\"},
        UninstallCase{"C:\\APPS\\CORVANE\\REMOVE.EXE C:\\APPS\\CORVANE\\SETUP.LOG", "C:\\APPS\\CORVANE\\"},
        UninstallCase{"C:\\Apps\\Corvane\\uninst.exe", "C:\\Apps\\Corvane\\"},
        UninstallCase{"C:\\Program Files\\Corvane\\unins000.exe", "C:\\Program Files\\Corvane\\"},
        UninstallCase{"MsiExec.exe /X{6A1C2D4E-0000-4B7A-9C1D-2E3F4A5B6C7D}", ""},
        UninstallCase{"C:\\Executables\\Corvane\\remove.exe", "C:\\Executables\\Corvane\\"},
        UninstallCase{"D:\\Corvane\\remove.bat", "D:\\Corvane\\"},
        UninstallCase{"\"C:\\x\\remove.bat\"", "C:\\x\\"},
        UninstallCase{"\\\\srv\\apps\\Corvane\\uninst.exe", "\\\\srv\\apps\\Corvane\\"},
        UninstallCase{"C:\\Apps\\my.exe.d\\uninst.exe /u", "C:\\Apps\\my.exe.d\\"},
        UninstallCase{"\"C:\\Apps\\Corvane\\uninst.exe", "C:\\Apps\\Corvane\\"}, // no closing quote
        UninstallCase{"C:uninst.exe", ""},                                       // drive-relative
        UninstallCase{"uninst.exe /x", ""}, UninstallCase{"\\Apps\\uninst.exe", ""},
        UninstallCase{"C:\\x:y\\uninst.exe", ""}, UninstallCase{"", ""}));

TEST_F(FindInstallDirTest, NoUsableEntryGivesEmptyText) {
    EXPECT_EQ(FindInstallDir("Corvane\\"), AnsiString("")) << "no key";

    WriteEntry(REG_DWORD, std::string(4, '\1'));
    EXPECT_EQ(FindInstallDir("Corvane\\"), AnsiString("")) << "value of another type";

    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstallKey, 0, KEY_ALL_ACCESS, &root), ERROR_SUCCESS);
    const UniqueKey key(root);
    RegDeleteValueA(key.get(), "UninstallString");
    EXPECT_EQ(FindInstallDir("Corvane\\"), AnsiString("")) << "key without the value";
}

struct ProgramPathCase {
    const char* commandLine;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const ProgramPathCase& c) {
    return out << Printable(c.commandLine);
}

class ProgramPathTest : public testing::TestWithParam<ProgramPathCase> {};

TEST_P(ProgramPathTest, ReadsTheProgramAsWindowsReadsACommandLine) {
    EXPECT_EQ(ProgramPathOf(GetParam().commandLine), AnsiString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, ProgramPathTest,
                         testing::Values(ProgramPathCase{"\"C:\\A B\\u.exe\" /x", "C:\\A B\\u.exe"},
                                         ProgramPathCase{"\"C:\\A B\\u.exe", "C:\\A B\\u.exe"},
                                         ProgramPathCase{"\"\" C:\\u.exe", ""},
                                         ProgramPathCase{"C:\\Program Files\\C\\unins000.exe /SILENT",
                                                         "C:\\Program Files\\C\\unins000.exe"},
                                         ProgramPathCase{"C:\\Exe\\U.EXE\"x\"", "C:\\Exe\\U.EXE"},
                                         ProgramPathCase{"C:\\a.exec\\b.exe\tx", "C:\\a.exec\\b.exe"},
                                         ProgramPathCase{"C:\\a\\remove.bat /x", "C:\\a\\remove.bat /x"},
                                         ProgramPathCase{"", ""}));

// Whether dir is a fully qualified directory, written out plainly for the property test below.
bool LooksFullyQualified(const std::string& dir) {
    if (dir.empty() || dir.back() != '\\') {
        return false;
    }
    const bool drive = dir.size() >= 3 && std::isalpha(static_cast<unsigned char>(dir[0])) && dir[1] == ':' &&
                       dir[2] == '\\' && dir.find(':', 2) == std::string::npos;
    const size_t serverEnd = dir.find('\\', 2);
    const bool unc = dir.rfind("\\\\", 0) == 0 && dir.find(':') == std::string::npos &&
                     serverEnd != std::string::npos && serverEnd > 2 &&
                     dir.find('\\', serverEnd + 1) != std::string::npos &&
                     dir.find('\\', serverEnd + 1) > serverEnd + 1;
    return drive || unc;
}

TEST(InstallDirPropertyTest, RandomCommandLinesGiveEmptyTextOrAFullyQualifiedPrefix) {
    const char* const pieces[] = {"\"",   " ",    "exe", ".exe", ".EXE", "\\", ":",
                                  "C:\\", "\\\\", "a",   "Z",    "x y",  "."};
    std::mt19937 random(20261211);
    for (int i = 0; i < 5000; ++i) {
        std::string value;
        const int count = static_cast<int>(random() % 12);
        for (int p = 0; p < count; ++p) {
            if (random() % 4 == 0) {
                value += static_cast<char>(1 + random() % 255);
            } else {
                value += pieces[random() % (sizeof pieces / sizeof pieces[0])];
            }
        }
        const std::string dir = InstallDirFromUninstallString(AnsiString(value.c_str())).str();
        if (dir.empty()) {
            continue;
        }
        const std::string unquoted = value.rfind('"', 0) == 0 ? value.substr(1) : value;
        EXPECT_TRUE(LooksFullyQualified(dir)) << Printable(value) << " gave " << Printable(dir);
        EXPECT_EQ(unquoted.rfind(dir, 0), 0u) << Printable(value) << " gave " << Printable(dir);
    }
}

} // namespace
