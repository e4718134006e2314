#include "FindInstallDir.h"
#include "Handles.h"
#include "Printers.h"
#include "TestFiles.h"
#include "UninstallEntry.h"

#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr char uninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";

struct UninstallCase {
    const char* value; // what "UninstallString" holds
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const UninstallCase& c) {
    return out << Printable(c.value);
}

// Which folder an "UninstallString" names. None of these folders exists here: whether a folder
// holds the installation is the lookup's next question, tested below.
class UninstallStringTest : public testing::TestWithParam<UninstallCase> {};

TEST_P(UninstallStringTest, TakesTheFolderOfTheUninstallProgram) {
    EXPECT_EQ(InstallDirFromUninstallString(GetParam().value), AnsiString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, UninstallStringTest,
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
        UninstallCase{"C:\\x:y\\uninst.exe", ""},
        UninstallCase{"%ProgramFiles%\\Corvane\\uninst.exe", ""}, // not expanded: no drive
        UninstallCase{"", ""}));

struct LocationCase {
    const char* value; // what "InstallLocation" holds
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const LocationCase& c) {
    return out << Printable(c.value);
}

class InstallLocationTest : public testing::TestWithParam<LocationCase> {};

TEST_P(InstallLocationTest, NamesTheFolderItselfFullyQualifiedOnly) {
    EXPECT_EQ(InstallDirFromInstallLocation(GetParam().value), AnsiString(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, InstallLocationTest,
    testing::Values(LocationCase{"C:\\Apps\\Corvane", "C:\\Apps\\Corvane\\"},
                    LocationCase{"C:\\Apps\\Corvane\\", "C:\\Apps\\Corvane\\"},
                    LocationCase{"\"C:\\Apps\\Corvane\"", "C:\\Apps\\Corvane\\"},
                    LocationCase{"\"C:\\Apps\\Corvane\\\"", "C:\\Apps\\Corvane\\"},
                    LocationCase{"\"C:\\Program Files\\Corvane", "C:\\Program Files\\Corvane\\"},
                    LocationCase{"C:", "C:\\"},
                    LocationCase{"\\\\srv\\apps\\Corvane", "\\\\srv\\apps\\Corvane\\"},
                    LocationCase{"\\\\srv", ""}, LocationCase{"Corvane", ""}, LocationCase{"Corvane\\", ""},
                    LocationCase{"\\Apps\\Corvane", ""}, LocationCase{"C:Apps", ""},
                    LocationCase{"C:\\Apps\\uninst.exe /x:y", ""}, LocationCase{"\"\"", ""},
                    LocationCase{"\"", ""}, LocationCase{"", ""}));

struct CandidateCase {
    const char* name;
    std::vector<const char*> candidates;
    std::set<std::string> folders; // the folders that exist
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const CandidateCase& c) {
    return out << c.name;
}

FolderTest FolderTestOf(const std::set<std::string>& folders) {
    return [folders](const AnsiString& path) { return folders.count(path.str()) > 0; };
}

class FirstInstallationTest : public testing::TestWithParam<CandidateCase> {};

TEST_P(FirstInstallationTest, TakesTheFirstFolderThatHoldsBinOrUdf) {
    const CandidateCase& c = GetParam();
    const std::vector<AnsiString> candidates(c.candidates.begin(), c.candidates.end());
    EXPECT_EQ(FirstInstallation(candidates, FolderTestOf(c.folders)), AnsiString(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FirstInstallationTest,
    testing::Values(
        CandidateCase{"UdfOnly", {"C:\\A\\"}, {"C:\\A\\UDF\\"}, "C:\\A\\"},
        CandidateCase{"BinOnly", {"C:\\A\\"}, {"C:\\A\\BIN\\"}, "C:\\A\\"},
        CandidateCase{
            "NeitherThenTheInstallation", {"C:\\A\\", "C:\\B\\"}, {"C:\\A\\", "C:\\B\\BIN\\"}, "C:\\B\\"},
        CandidateCase{
            "FirstOfTwoInstallations", {"C:\\A\\", "C:\\B\\"}, {"C:\\A\\UDF\\", "C:\\B\\UDF\\"}, "C:\\A\\"},
        CandidateCase{"EmptyCandidateIsPassedOver", {"", "C:\\B\\"}, {"BIN\\", "C:\\B\\UDF\\"}, "C:\\B\\"},
        CandidateCase{"RelativeFolderNeverCounts",
                      {"Corvane\\", "\\Corvane\\"},
                      {"Corvane\\BIN\\", "\\Corvane\\UDF\\"},
                      ""},
        CandidateCase{
            "OtherFoldersDoNotCount", {"C:\\Windows\\"}, {"C:\\Windows\\SYSTEM32\\", "C:\\Windows\\"}, ""},
        CandidateCase{"NoFolderExists", {"C:\\A\\", "\\\\srv\\apps\\"}, {}, ""},
        CandidateCase{"UncShare", {"\\\\srv\\apps\\"}, {"\\\\srv\\apps\\UDF\\"}, "\\\\srv\\apps\\"},
        CandidateCase{"NoCandidates", {}, {"BIN\\"}, ""}),
    [](const testing::TestParamInfo<CandidateCase>& param) { return param.param.name; });

struct VariablesCase {
    const char* text;
    bool systemHas6432; // ProgramW6432 and CommonProgramW6432 are defined
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const VariablesCase& c) {
    return out << Printable(c.text) << (c.systemHas6432 ? " (64-bit Windows)" : " (32-bit Windows)");
}

class FolderVariablesTest : public testing::TestWithParam<VariablesCase> {};

TEST_P(FolderVariablesTest, NamesTheFoldersA64BitProgramSees) {
    const VariablesCase& c = GetParam();
    const VariableTest isDefined = [&c](const AnsiString& name) {
        return c.systemHas6432 &&
               (name == AnsiString("ProgramW6432") || name == AnsiString("CommonProgramW6432"));
    };
    EXPECT_EQ(With64BitFolderVariables(c.text, isDefined), AnsiString(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FolderVariablesTest,
    testing::Values(VariablesCase{"\"%ProgramFiles%\\Corvane\\uninst.exe\" /x", true,
                                  "\"%ProgramW6432%\\Corvane\\uninst.exe\" /x"},
                    VariablesCase{"%programfiles%\\Corvane", true, "%ProgramW6432%\\Corvane"},
                    VariablesCase{"%CommonProgramFiles%\\Corvane", true, "%CommonProgramW6432%\\Corvane"},
                    VariablesCase{"%ProgramFiles(x86)%\\Corvane", true, "%ProgramFiles(x86)%\\Corvane"},
                    VariablesCase{"%SystemRoot%\\u.exe -f%ProgramFiles%\\C", true,
                                  "%SystemRoot%\\u.exe -f%ProgramW6432%\\C"},
                    VariablesCase{"a%b%ProgramFiles%", true, "a%b%ProgramFiles%"}, // %b% is the reference
                    VariablesCase{"%ProgramFiles", true, "%ProgramFiles"},
                    VariablesCase{"%%ProgramFiles%%", true, "%%ProgramFiles%%"},
                    VariablesCase{"%ProgramFiles%\\Corvane", false, "%ProgramFiles%\\Corvane"},
                    VariablesCase{"C:\\Program Files\\Corvane", true, "C:\\Program Files\\Corvane"},
                    VariablesCase{"", true, ""}));

bool IsWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

void ReplaceAll(std::string& text, const std::string& token, const std::string& value) {
    for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size())) {
        text.replace(at, token.size(), value);
    }
}

// Where a row writes: the views of HKEY_LOCAL_MACHINE, and HKEY_CURRENT_USER.
enum class Place { OwnView, View64, User };

struct EntryWrite {
    Place place;
    const char* valueName;
    DWORD type;
    const char* data; // may name {inst}, {inst-} (without its backslash), {other}, {bare}, {win}
};

// Which Program Files folders hold an installation "CorvaneLookupTest" for a row.
enum ProgramFilesInstall { NoProgramFiles = 0, OwnProgramFiles = 1, ProgramFiles64 = 2 };

struct LookupCase {
    const char* name;
    std::vector<EntryWrite> writes;
    const char* expected; // {inst}, {other}, {pf} (own Program Files), {pf64} or ""
    int programFiles = NoProgramFiles;
    // The point needs the two registry views (and Program Files folders) to differ: a 32-bit
    // process on 64-bit Windows.
    bool needsWow64 = false;
};

std::ostream& operator<<(std::ostream& out, const LookupCase& c) {
    return out << c.name;
}

// The product's real uninstall entry, written by the test as installers write it in each place,
// over real folders: {inst} holds UDF\, {other} holds BIN\, {bare} holds neither. The entry is
// removed from all three places before and after.
class FindInstallDirTest : public testing::TestWithParam<LookupCase> {
  protected:
    void SetUp() override {
        DeleteUninstallEntryEverywhere();
        ASSERT_TRUE(MakeDirs(installation.Path() + "UDF"));
        ASSERT_TRUE(MakeDirs(otherInstallation.Path() + "BIN"));
    }
    void TearDown() override {
        DeleteUninstallEntryEverywhere();
        for (const std::string& dir : programFilesInstallations) {
            RemoveTree(dir);
        }
    }

    static REGSAM ViewOf(Place place) { return place == Place::View64 ? KEY_WOW64_64KEY : 0; }
    static HKEY RootOf(Place place) { return place == Place::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

    static void WriteValue(Place place, const char* name, DWORD type, const std::string& data) {
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExA(RootOf(place), uninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS | ViewOf(place),
                                  nullptr, &created, nullptr),
                  ERROR_SUCCESS);
        const UniqueKey key(created);
        ASSERT_EQ(RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }

    static void WriteEntry(DWORD type, const std::string& data) {
        WriteValue(Place::OwnView, "UninstallString", type, data);
    }

    static std::string OwnProgramFilesInstallation() {
        return EnvironmentVariable("ProgramFiles") + "\\CorvaneLookupTest\\";
    }
    // As a 64-bit program sees it: ProgramW6432 where the system defines it.
    static std::string ProgramFiles64Installation() {
        const std::string programFiles64 = EnvironmentVariable("ProgramW6432");
        return (programFiles64.empty() ? EnvironmentVariable("ProgramFiles") : programFiles64) +
               "\\CorvaneLookupTest\\";
    }

    void InstallUnderProgramFiles(const std::string& dir) {
        programFilesInstallations.push_back(dir);
        ASSERT_TRUE(MakeDirs(dir + "UDF"));
    }

    std::string Resolved(const char* text) const {
        std::string resolved = text;
        const std::string inst = installation.Path();
        ReplaceAll(resolved, "{inst-}", inst.substr(0, inst.size() - 1));
        ReplaceAll(resolved, "{inst}", inst);
        ReplaceAll(resolved, "{other}", otherInstallation.Path());
        ReplaceAll(resolved, "{bare}", bareFolder.Path());
        ReplaceAll(resolved, "{win}", EnvironmentVariable("SystemRoot") + "\\");
        ReplaceAll(resolved, "{pf64}", ProgramFiles64Installation());
        ReplaceAll(resolved, "{pf}", OwnProgramFilesInstallation());
        return resolved;
    }

    const TempDir installation{"Corvane Install"};
    const TempDir otherInstallation{"Other Install"};
    const TempDir bareFolder{"Not An Install"};
    std::vector<std::string> programFilesInstallations;
};

TEST_P(FindInstallDirTest, FindsTheInstallationWhereverItsEntryIs) {
    const LookupCase& c = GetParam();
    if (c.needsWow64 && !IsWow64()) {
        GTEST_SKIP() << "the two views of HKEY_LOCAL_MACHINE (and the two Program Files folders) differ only "
                        "for a 32-bit process on 64-bit Windows; this process is not one";
    }
    if (c.programFiles & OwnProgramFiles) {
        InstallUnderProgramFiles(OwnProgramFilesInstallation());
    }
    if (c.programFiles & ProgramFiles64) {
        InstallUnderProgramFiles(ProgramFiles64Installation());
    }
    for (const EntryWrite& write : c.writes) {
        WriteValue(write.place, write.valueName, write.type, Resolved(write.data) + '\0');
    }

    EXPECT_EQ(FindInstallDir("Corvane\\"), AnsiString(Resolved(c.expected).c_str()));
}

const char* const quotedInst = "\"{inst}uninst.exe\" /x";
const char* const quotedOther = "\"{other}uninst.exe\" /x";
const char* const quotedBare = "\"{bare}uninst.exe\" /x";
const char* const sharedUninstaller = "{win}SharedUninst.exe -f\"{inst}uninst.dat\"";
const char* const expandable = "\"%ProgramFiles%\\CorvaneLookupTest\\uninst.exe\" /x";

std::vector<LookupCase> LookupCases() {
    const Place own = Place::OwnView;
    const Place view64 = Place::View64;
    const Place user = Place::User;
    const char* const us = "UninstallString";
    const char* const il = "InstallLocation";
    std::vector<LookupCase> all = {
        {"OnlyInTheOwnView", {{own, us, REG_SZ, quotedInst}}, "{inst}"},
        {"OnlyInThe64BitView", {{view64, us, REG_SZ, quotedInst}}, "{inst}"},
        {"OnlyUnderTheCurrentUser", {{user, us, REG_SZ, quotedInst}}, "{inst}"},
        {"OwnViewNamesAFolderWithoutBinOrUdf64BitViewTheInstallation",
         {{own, us, REG_SZ, quotedBare}, {view64, us, REG_SZ, quotedInst}},
         "{inst}",
         NoProgramFiles,
         true},
        {"OwnViewNamesAFolderWithoutBinOrUdfCurrentUserTheInstallation",
         {{own, us, REG_SZ, quotedBare}, {user, us, REG_SZ, quotedInst}},
         "{inst}"},
        {"OwnViewBeforeTheCurrentUser",
         {{own, us, REG_SZ, quotedInst}, {user, us, REG_SZ, quotedOther}},
         "{inst}"},
        {"The64BitViewBeforeTheCurrentUser",
         {{view64, us, REG_SZ, quotedInst}, {user, us, REG_SZ, quotedOther}},
         "{inst}"},
        {"OwnViewBeforeThe64BitView",
         {{own, us, REG_SZ, quotedInst}, {view64, us, REG_SZ, quotedOther}},
         "{inst}",
         NoProgramFiles,
         true},
        {"SharedUninstallerWithInstallLocation",
         {{own, us, REG_SZ, sharedUninstaller}, {own, il, REG_SZ, "{inst}"}},
         "{inst}"},
        {"SharedUninstallerWithInstallLocationWithoutBackslash",
         {{own, us, REG_SZ, sharedUninstaller}, {own, il, REG_SZ, "{inst-}"}},
         "{inst}"},
        {"SharedUninstallerWithQuotedInstallLocation",
         {{own, us, REG_SZ, sharedUninstaller}, {own, il, REG_SZ, "\"{inst}\""}},
         "{inst}"},
        {"SharedUninstallerWithQuotedInstallLocationWithoutBackslash",
         {{view64, us, REG_SZ, sharedUninstaller}, {view64, il, REG_SZ, "\"{inst-}\""}},
         "{inst}"},
        {"SharedUninstallerWithInstallLocationUnderTheCurrentUser",
         {{user, us, REG_SZ, sharedUninstaller}, {user, il, REG_SZ, "{inst-}"}},
         "{inst}"},
        {"UninstallStringBeforeInstallLocation",
         {{own, us, REG_SZ, quotedInst}, {own, il, REG_SZ, "{other}"}},
         "{inst}"},
        {"SharedUninstallerWithoutInstallLocation", {{own, us, REG_SZ, sharedUninstaller}}, ""},
        {"RelativeInstallLocationIsIgnored",
         {{own, us, REG_SZ, sharedUninstaller}, {own, il, REG_SZ, "Corvane Install"}},
         ""},
        {"EmptyInstallLocationIsIgnored", {{own, us, REG_SZ, sharedUninstaller}, {own, il, REG_SZ, ""}}, ""},
        {"IgnoredInstallLocationThenTheCurrentUser",
         {{own, us, REG_SZ, quotedBare},
          {own, il, REG_SZ, "Corvane Install\\"},
          {user, us, REG_SZ, quotedInst}},
         "{inst}"},
        {"ExpandableUninstallStringInTheOwnView",
         {{own, us, REG_EXPAND_SZ, expandable}},
         "{pf}",
         OwnProgramFiles},
        {"ExpandableUninstallStringInThe64BitView",
         {{view64, us, REG_EXPAND_SZ, expandable}},
         "{pf64}",
         ProgramFiles64},
        {"ExpandableInstallLocation",
         {{own, us, REG_SZ, sharedUninstaller},
          {own, il, REG_EXPAND_SZ, "%ProgramFiles%\\CorvaneLookupTest"}},
         "{pf}",
         OwnProgramFiles},
        {"PlainStringWithAVariableIsNotExpanded", {{own, us, REG_SZ, expandable}}, "", OwnProgramFiles},
        {"ExpandableInTheOwnViewResolvesToThe32BitProgramFiles",
         {{own, us, REG_EXPAND_SZ, expandable}},
         "{pf}",
         OwnProgramFiles | ProgramFiles64,
         true},
        {"ExpandableInThe64BitViewResolvesToThe64BitProgramFiles",
         {{view64, us, REG_EXPAND_SZ, expandable}},
         "{pf64}",
         OwnProgramFiles | ProgramFiles64,
         true},
        {"EntryNamingOnlyAFolderWithoutBinOrUdf",
         {{own, us, REG_SZ, quotedBare}, {own, il, REG_SZ, "{bare}"}},
         ""},
        {"NoEntryAnywhere", {}, ""},
    };
    return all;
}

INSTANTIATE_TEST_SUITE_P(Table, FindInstallDirTest, testing::ValuesIn(LookupCases()),
                         [](const testing::TestParamInfo<LookupCase>& param) { return param.param.name; });

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

TEST(InstallDirPropertyTest, AnyCandidatesAndFoldersGiveEmptyTextOrAFolderHoldingBinOrUdf) {
    const char* const pieces[] = {"\"", " ", "\\", ":", "C:\\", "\\\\", "a", "x y", ".", "BIN\\", "UDF\\"};
    const char* const subfolders[] = {"BIN\\", "UDF\\", "DOCS\\", "bin\\", ""};
    std::mt19937 random(20261212);
    for (int i = 0; i < 5000; ++i) {
        std::vector<AnsiString> candidates;
        std::set<std::string> folders;
        const int count = static_cast<int>(random() % 6);
        for (int c = 0; c < count; ++c) {
            std::string candidate;
            const int length = static_cast<int>(random() % 6);
            for (int p = 0; p < length; ++p) {
                candidate += pieces[random() % (sizeof pieces / sizeof pieces[0])];
            }
            if (random() % 2 == 0) {
                folders.insert(candidate + subfolders[random() % (sizeof subfolders / sizeof subfolders[0])]);
            }
            candidates.emplace_back(candidate);
        }
        const std::string dir = FirstInstallation(candidates, FolderTestOf(folders)).str();
        std::string described;
        for (const AnsiString& candidate : candidates) {
            described += "[" + Printable(candidate.str()) + "]";
        }
        if (dir.empty()) {
            for (const AnsiString& candidate : candidates) {
                const bool holds =
                    folders.count(candidate.str() + "BIN\\") || folders.count(candidate.str() + "UDF\\");
                EXPECT_FALSE(LooksFullyQualified(candidate.str()) && holds)
                    << described << " missed " << Printable(candidate.str());
            }
            continue;
        }
        EXPECT_TRUE(LooksFullyQualified(dir)) << described << " gave " << Printable(dir);
        EXPECT_TRUE(folders.count(dir + "BIN\\") || folders.count(dir + "UDF\\"))
            << described << " gave " << Printable(dir);
        // The first candidate that counts, and none before it.
        bool seen = false;
        for (const AnsiString& candidate : candidates) {
            if (candidate.str() == dir) {
                seen = true;
                break;
            }
            const bool holds =
                folders.count(candidate.str() + "BIN\\") || folders.count(candidate.str() + "UDF\\");
            EXPECT_FALSE(LooksFullyQualified(candidate.str()) && holds)
                << described << " passed over " << Printable(candidate.str());
        }
        EXPECT_TRUE(seen) << described << " gave " << Printable(dir) << ", which is none of them";
    }
}

} // namespace
