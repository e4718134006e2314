// The real launcher.exe finds installations wherever Windows lists them: a real NSIS installer
// in 64-bit mode (64-bit registry view, 64-bit Program Files), and the test installer writing its
// entry per user or naming the installation only in InstallLocation.
#include "LauncherRun.h"
#include "UninstallEntry.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

const std::string correctedProgram = "Corvadmin 2.0.1 (corrected)";
const std::string correctedForms = "Forms 2.0.1 (corrected)";

bool Is64BitWindows() {
    BOOL wow64 = FALSE;
    return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}

void AddPatch(const Distribution& dist) {
    dist.AddFile("Patch\\bin\\Corvadmin.exe", correctedProgram);
    dist.AddFile("Patch\\UDF\\Forms.udf", correctedForms);
}

void ExpectPatched(const std::string& installDir) {
    EXPECT_EQ(ReadBytes(installDir + "bin\\Corvadmin.exe").value_or("(absent)"), correctedProgram);
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Forms.udf").value_or("(absent)"), correctedForms);
}

// Without an InstallDir in SETUP.INI the installer installs where its script says: the 64-bit
// Program Files folder. The test removes that folder, like the entry, before and after.
class NsisRegView64Test : public UninstallEntryTest {
  protected:
    void SetUp() override {
        UninstallEntryTest::SetUp();
        RemoveTree(installDir);
    }
    void TearDown() override {
        RemoveTree(installDir);
        UninstallEntryTest::TearDown();
    }

    static std::string ProgramFiles64() {
        const std::string programFiles64 = EnvironmentVariable("ProgramW6432");
        return programFiles64.empty() ? EnvironmentVariable("ProgramFiles") : programFiles64;
    }

    const std::string installDir = ProgramFiles64() + "\\Corvane\\";
};

TEST_F(NsisRegView64Test, InstallerIn64BitModeIsFoundAndPatched) {
    const std::string installer = TestProgramDir() + "nsis\\nsis_regview64.exe";
    ASSERT_TRUE(Exists(installer)) << installer;
    const Distribution dist("Corvane Dist");
    const std::string launcher = dist.AddLauncher();
    ASSERT_TRUE(CopyFileA(installer.c_str(), (dist.Dir() + "SETUP.EXE").c_str(), FALSE));
    AddPatch(dist);

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_TRUE(UninstallEntryExists(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY)) << "the installer wrote no entry";
    if (Is64BitWindows()) {
        EXPECT_FALSE(UninstallEntryExists(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY))
            << "the installer wrote to the 32-bit view: the test does not show the 64-bit one";
    }
    ExpectPatched(installDir);
    // Files outside the patch keep what the installer put there.
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Reports.udf"),
              ReadBytes(TestProgramDir() + "nsis\\payload\\UDF\\Reports.udf"));
}

struct EntryScenario {
    const char* name;
    bool perUser;
    bool sharedUninstaller; // the entry's program lies in the Windows folder; InstallLocation names the
                            // installation
};

std::ostream& operator<<(std::ostream& out, const EntryScenario& s) {
    return out << s.name;
}

class TestInstallerEntryTest : public UninstallEntryTest, public testing::WithParamInterface<EntryScenario> {
  protected:
    const TempDir installation{"Program Files"};
    const std::string installDir = installation.Path() + "Corvane\\";
};

TEST_P(TestInstallerEntryTest, InstallationIsFoundAndPatched) {
    const EntryScenario& s = GetParam();
    const Distribution dist("Corvane Dist");
    const std::string launcher = dist.AddLauncher();
    dist.AddFile("payload\\bin\\Corvadmin.exe", "Corvadmin 2.0 (faulty)");
    dist.AddFile("payload\\UDF\\Forms.udf", "Forms 2.0 (faulty)");
    AddPatch(dist);
    InstallerScript script;
    script.installDir = installDir;
    script.payload = "payload";
    script.perUser = s.perUser;
    if (s.sharedUninstaller) {
        script.uninstallString =
            EnvironmentVariable("SystemRoot") + "\\SharedUninst.exe -f\"" + installDir + "uninst.dat\"";
        script.installLocation = installDir.substr(0, installDir.size() - 1);
    } else {
        script.uninstallString = "\"" + installDir + "uninst.exe\" /x";
    }
    dist.AddInstaller(script);

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(UninstallEntryExists(HKEY_CURRENT_USER, 0), s.perUser) << "the entry is not where the row says";
    ExpectPatched(installDir);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, TestInstallerEntryTest,
                         testing::Values(EntryScenario{"PerUserEntry", true, false},
                                         EntryScenario{"SharedUninstallerWithInstallLocation", false, true},
                                         EntryScenario{"PerUserSharedUninstallerWithInstallLocation", true,
                                                       true}),
                         [](const testing::TestParamInfo<EntryScenario>& param) { return param.param.name; });

} // namespace
