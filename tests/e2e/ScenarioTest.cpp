// The launcher on the systems its users have. CTest runs this program once under each code page
// (1252, 1251 for the product's own Bulgarian users, 932 double-byte); each test names its folders
// in the system's own script.
#include "LauncherRun.h"
#include "RegisteredCodePage.h"
#include "UserTexts.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

// Folder and file names in the system's ANSI code page, and as the user reads them.
struct NativeNames {
    UINT codePage;
    const char* distribution;
    const wchar_t* distributionShown;
    const char* installation;
    const char* uninstaller; // the program the uninstall entry starts
};

// In code page 932 "表" is 0x95 0x5C and "ソ" is 0x83 0x5C: their second byte is the code of "\".
// The uninstaller's own name ends in "表", so its folder is found whole only when that byte is no
// delimiter.
const NativeNames nativeNames[] = {
    {1252, "Distribuci\xF3n", L"Distribuci\x00F3n", "Corvan\xE9", "D\xE9sinstaller.exe"},
    {1251, "\xCA\xEE\xF0\xE2\xE5\xE9\xED \xC4\xE8\xF1\xF2\xF0\xE8\xE1\xF3\xF6\xE8\xFF",
     L"\x041A\x043E\x0440\x0432\x0435\x0439\x043D "
     L"\x0414\x0438\x0441\x0442\x0440\x0438\x0431\x0443\x0446\x0438\x044F",
     "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xED\xE8 \xF4\xE0\xE9\xEB\xEE\xE2\xE5",
     "\xC4\xE5\xE8\xED\xF1\xF2\xE0\xEB\xE8\xF0\xE0\xED\xE5.exe"},
    {932, "\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67 \x94\x7A\x95\x7A",
     L"\x8868\x793A\x30BD\x30D5\x30C8 \x914D\x5E03", "\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67",
     "\x8D\xED\x8F\x9C\x95\x5C.exe"},
};

const NativeNames& NamesOfThisSystem() {
    for (const NativeNames& names : nativeNames) {
        if (names.codePage == GetACP()) {
            return names;
        }
    }
    return nativeNames[0];
}

class ScenarioTest : public UninstallEntryTest {
  protected:
    // The faulty release in the installer's payload, the corrected files in Patch\.
    static void AddReleaseAndPatch(const Distribution& dist, const std::string& installDir,
                                   const std::string& uninstaller = "uninst.exe",
                                   const std::string& recordCommandLine = "") {
        dist.AddFile("payload\\bin\\Corvadmin.exe", "faulty program");
        dist.AddFile("payload\\UDF\\Forms.udf", "faulty forms");
        dist.AddFile("Patch\\bin\\Corvadmin.exe", "corrected program");
        dist.AddFile("Patch\\UDF\\Forms.udf", "corrected forms");
        InstallerScript script;
        script.installDir = installDir;
        script.payload = "payload";
        script.uninstallString = "\"" + installDir + uninstaller + "\" /x";
        script.recordCommandLine = recordCommandLine;
        dist.AddInstaller(script);
    }

    static void ExpectPatched(const std::string& installDir) {
        EXPECT_EQ(ReadBytes(installDir + "bin\\Corvadmin.exe").value_or("(absent)"), "corrected program");
        EXPECT_EQ(ReadBytes(installDir + "UDF\\Forms.udf").value_or("(absent)"), "corrected forms");
    }
};

TEST_F(ScenarioTest, RunsUnderTheCodePageItWasRegisteredFor) {
    EXPECT_EQ(GetACP(), RegisteredCodePage()) << "is the registered locale generated?";
}

TEST_F(ScenarioTest, PatchLandsInAnInstallationNamedInTheSystemsScript) {
    const NativeNames& names = NamesOfThisSystem();
    const Distribution dist(names.distribution);
    const TempDir programFiles("Program Files");
    const std::string installDir = programFiles.Path() + names.installation + "\\";
    AddReleaseAndPatch(dist, installDir, names.uninstaller);
    const std::string launcher = dist.AddLauncher();

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    ExpectPatched(installDir);
}

TEST_F(ScenarioTest, MissingInstallerBoxShowsMessageAndPathAsTheUserReadsThem) {
    const NativeNames& names = NamesOfThisSystem();
    const Distribution dist(names.distribution);
    const std::string launcher = dist.AddLauncher();

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 1u);
    ASSERT_EQ(run.boxes.size(), 1u);
    const std::string tempPart =
        dist.Dir().substr(0, dist.Dir().size() - std::string(names.distribution).size() - 1);
    EXPECT_EQ(run.boxes[0].text, missingFileHeadline + L"\r\n\"" + Widened(tempPart) +
                                     names.distributionShown + L"\\SETUP.EXE\"");
}

TEST_F(ScenarioTest, DeepRenamedLauncherStartedFromAnotherFolder) {
    // A distribution folder more than 200 characters deep, still within what ANSI calls take.
    std::string deep = "Deep Distribution";
    const size_t tempLength = TempDir("probe").Path().size();
    while (tempLength + deep.size() < 212) {
        deep += "\\level " + std::to_string(deep.size());
    }
    const Distribution dist(deep);
    ASSERT_GT(dist.Dir().size(), 200u);
    const TempDir programFiles("Program Files");
    const std::string installDir = programFiles.Path() + "Corvane\\";
    AddReleaseAndPatch(dist, installDir);
    const std::string launcher = dist.AddLauncher("CorvaneSetup.exe");
    const TempDir elsewhere("Elsewhere");

    const ProgramRun run = RunProgram(launcher, "", elsewhere.Path());

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    ExpectPatched(installDir);

    // The renamed launcher's box carries its own name as the title.
    ASSERT_TRUE(DeleteFileA((dist.Dir() + "SETUP.EXE").c_str()));
    const ProgramRun withoutInstaller = RunProgram(launcher, "", elsewhere.Path());
    EXPECT_EQ(withoutInstaller.exitCode, 1u);
    ASSERT_EQ(withoutInstaller.boxes.size(), 1u);
    EXPECT_EQ(withoutInstaller.boxes[0].caption, L"Corvanesetup");
}

// A folder named in Cyrillic ("Иван Загрузки") on each system: where the code page has no Cyrillic
// letters, the launcher reaches its folder through the short (8.3) name and starts the installer
// through it; where it has them, everything goes by the long path as it always did.
struct CyrillicFolderRow {
    UINT codePage;
    bool startedThroughShortName;
};
const CyrillicFolderRow cyrillicFolderRows[] = {{1252, true}, {1251, false}, {932, false}};
const wchar_t cyrillicFolderName[] =
    L"\x0418\x0432\x0430\x043D \x0417\x0430\x0433\x0440\x0443\x0437\x043A\x0438";

std::optional<CyrillicFolderRow> CyrillicFolderRowOfThisSystem() {
    for (const CyrillicFolderRow& row : cyrillicFolderRows) {
        if (row.codePage == GetACP()) {
            return row;
        }
    }
    return std::nullopt;
}

std::wstring WideFromUtf8(const std::string& utf8) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    }
    return wide;
}

std::wstring ShortPathOf(const std::wstring& path) {
    std::vector<wchar_t> shortPath(32768);
    const DWORD length =
        GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    return std::wstring(shortPath.data(), length);
}

TEST_F(ScenarioTest, DistributionFolderNamedInCyrillicIsPatched) {
    const std::optional<CyrillicFolderRow> row = CyrillicFolderRowOfThisSystem();
    if (!row) {
        GTEST_SKIP() << "no row for code page " << GetACP();
    }
    const Distribution dist{std::wstring(cyrillicFolderName)};
    const TempDir programFiles("Program Files");
    const std::string installDir = programFiles.Path() + "Corvane\\";
    const TempDir records("records");
    const std::string record = records.Path() + "command line.txt";
    AddReleaseAndPatch(dist, installDir, "uninst.exe", record);
    dist.AddLauncher();

    // Started by its long Unicode path, as Explorer starts a program the user opens.
    const ProgramRun run = RunProgram(dist.DirW() + L"launcher.exe");

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    ExpectPatched(installDir);
    const std::wstring installerDir = row->startedThroughShortName ? ShortPathOf(dist.DirW()) : dist.DirW();
    ASSERT_NE(installerDir, L"");
    if (row->startedThroughShortName) {
        ASSERT_NE(installerDir, dist.DirW()) << "the folder has no short name";
    }
    EXPECT_EQ(WideFromUtf8(ReadBytes(record).value_or("(not started)")),
              L"\"" + installerDir + L"SETUP.EXE\"");
}

} // namespace
