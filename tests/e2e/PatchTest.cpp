// The launcher's whole job, end to end: the real launcher.exe runs the test installer, which
// installs a product from its payload and writes the uninstall entry; then the installation's
// files are compared byte for byte with what the patch should have left there.
#include "Handles.h"
#include "LauncherRun.h"
#include "PendingRenames.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

const std::string installedProgram = "Corvadmin 2.0 (faulty)";
const std::string correctedProgram = "Corvadmin 2.0.1 (corrected)";
const std::string installedForms = "Forms 2.0 (faulty)";
const std::string correctedForms = "Forms 2.0.1 (corrected)";
const std::string correctedReports = "Reports 2.0.1 (new in the patch)";
const std::string installedCustom = "Custom forms of the customer";
const std::string installedReadme = "readme 2.0";

enum class Expect { Installed, Corrected, Absent };

struct PatchScenario {
    const char* name;
    bool installsBin = true;      // the installation has a bin\ folder
    bool installsUdf = true;      // the installation has a UDF\ folder
    bool patchHasProgram = true;  // Patch\bin\Corvadmin.exe is on the medium
    bool writesEntry = true;      // the installer writes the uninstall entry
    int installerExitCode = 0;    // 1602: the user cancelled
    bool crashes = false;         // the installer ends with an access violation
    bool programHeldOpen = false; // another process holds Corvadmin.exe open without sharing
    bool programPending = false;  // the corrected program replaces the installed one at the restart
    DWORD expectedExitCode = 0;
    Expect program = Expect::Corrected;
    Expect udf = Expect::Corrected;
};

std::ostream& operator<<(std::ostream& out, const PatchScenario& s) {
    return out << s.name;
}

PatchScenario Scenario(const char* name) {
    PatchScenario s;
    s.name = name;
    return s;
}

class PatchTest : public UninstallEntryTest, public testing::WithParamInterface<PatchScenario> {
  protected:
    // A replacement scheduled for the restart stays in the prefix: each test starts and ends
    // without any.
    void SetUp() override {
        UninstallEntryTest::SetUp();
        ClearPendingRenames();
    }
    void TearDown() override {
        ClearPendingRenames();
        UninstallEntryTest::TearDown();
    }

    // The medium: launcher, the test installer with its payload (the faulty release), and Patch\.
    void LayOutDistribution(const PatchScenario& s) const {
        if (s.installsBin) {
            dist.AddFile("payload\\bin\\Corvadmin.exe", installedProgram);
        }
        if (s.installsUdf) {
            dist.AddFile("payload\\UDF\\Forms.udf", installedForms);
            dist.AddFile("payload\\UDF\\Custom.udf", installedCustom);
        }
        dist.AddFile("payload\\Docs\\readme.txt", installedReadme);
        if (s.patchHasProgram) {
            dist.AddFile("Patch\\bin\\Corvadmin.exe", correctedProgram);
        }
        dist.AddFile("Patch\\UDF\\Forms.udf", correctedForms);
        dist.AddFile("Patch\\UDF\\Reports.udf", correctedReports);

        InstallerScript script;
        script.installDir = installDir;
        script.payload = "payload";
        script.uninstallString = s.writesEntry ? "\"" + installDir + "uninst.exe\" /x" : "";
        script.exitCode = s.installerExitCode;
        script.crash = s.crashes;
        dist.AddInstaller(script);
    }

    std::string Installed(const std::string& relativePath) const {
        return ReadBytes(installDir + relativePath).value_or("(absent)");
    }

    void ExpectFile(const std::string& relativePath, Expect expect, const std::string& installed,
                    const std::string& corrected) const {
        switch (expect) {
        case Expect::Installed:
            EXPECT_EQ(Installed(relativePath), installed) << relativePath;
            break;
        case Expect::Corrected:
            EXPECT_EQ(Installed(relativePath), corrected) << relativePath;
            break;
        case Expect::Absent:
            EXPECT_FALSE(Exists(installDir + relativePath)) << relativePath;
            break;
        }
    }

    // Scheduled: a complete temporary copy of the corrected program beside it, to replace it.
    void ExpectScheduled(bool programPending) const {
        const std::vector<PendingRename> pending = PendingRenamesList();
        if (!programPending) {
            EXPECT_TRUE(pending.empty()) << pending.size() << " renames pending";
            return;
        }
        ASSERT_EQ(pending.size(), 1u);
        EXPECT_EQ(lstrcmpiA(pending[0].to.c_str(), (installDir + "bin\\Corvadmin.exe").c_str()), 0)
            << pending[0].to;
        EXPECT_EQ(lstrcmpiA(pending[0].from.substr(0, installDir.size() + 7).c_str(),
                            (installDir + "bin\\cvl").c_str()),
                  0)
            << pending[0].from;
        EXPECT_EQ(ReadBytes(pending[0].from).value_or(""), correctedProgram);
    }

    const Distribution dist{"Corvane Dist"};
    const TempDir installation{"Program Files"};
    const std::string installDir = installation.Path() + "Corvane\\";
};

TEST_P(PatchTest, LeavesTheInstallationAsExpected) {
    const PatchScenario& s = GetParam();
    LayOutDistribution(s);
    const std::string launcher = dist.AddLauncher();

    UniqueHandle heldProgram;
    if (s.programHeldOpen) {
        // The installation is already there (an earlier install) and its program is running.
        ASSERT_TRUE(MakeDirs(installDir + "bin"));
        ASSERT_TRUE(WriteBytes(installDir + "bin\\Corvadmin.exe", installedProgram));
        heldProgram.reset(CreateFileA((installDir + "bin\\Corvadmin.exe").c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(heldProgram.valid());
    }

    const ProgramRun run = RunProgram(launcher);
    heldProgram.reset();

    EXPECT_EQ(run.exitCode, s.expectedExitCode);
    EXPECT_TRUE(run.boxes.empty()) << "the patch shows nothing";
    ExpectFile("bin\\Corvadmin.exe", s.program, installedProgram, correctedProgram);
    ExpectFile("UDF\\Forms.udf", s.udf, installedForms, correctedForms);
    ExpectFile("UDF\\Reports.udf", s.udf == Expect::Installed ? Expect::Absent : s.udf, "", correctedReports);
    // Files outside the patch are never touched.
    ExpectFile("UDF\\Custom.udf", s.installsUdf ? Expect::Installed : Expect::Absent, installedCustom, "");
    ExpectFile("Docs\\readme.txt", Expect::Installed, installedReadme, "");
    EXPECT_FALSE(Exists(installDir + "Corvadmin.exe")) << "nothing lands beside the folders";
    ExpectScheduled(s.programPending);
}

std::vector<PatchScenario> Scenarios() {
    std::vector<PatchScenario> all;
    all.push_back(Scenario("FullPatch"));

    PatchScenario cancelled = Scenario("InstallerCancelledAfterWritingTheEntry");
    cancelled.installerExitCode = 1602;
    all.push_back(cancelled);

    // A process that ends badly still counts as ended: the patch runs.
    PatchScenario crashed = Scenario("InstallerCrashesAfterWritingTheEntry");
    crashed.crashes = true;
    all.push_back(crashed);

    PatchScenario noBin = Scenario("InstallationWithoutBin");
    noBin.installsBin = false;
    noBin.program = Expect::Absent;
    all.push_back(noBin);

    PatchScenario noUdf = Scenario("InstallationWithoutUdf");
    noUdf.installsUdf = false;
    noUdf.udf = Expect::Absent;
    all.push_back(noUdf);

    PatchScenario noProgramInPatch = Scenario("PatchWithoutTheProgramFile");
    noProgramInPatch.patchHasProgram = false;
    noProgramInPatch.expectedExitCode = 3;
    noProgramInPatch.program = Expect::Installed;
    all.push_back(noProgramInPatch);

    // Neither replaced nor renamed while it is held: replaced at the restart.
    PatchScenario held = Scenario("ProgramFileHeldOpenByAnotherProcess");
    held.programHeldOpen = true;
    held.programPending = true;
    held.expectedExitCode = 3010;
    held.program = Expect::Installed;
    all.push_back(held);

    PatchScenario noEntry = Scenario("NoUninstallEntry");
    noEntry.writesEntry = false;
    noEntry.expectedExitCode = 2;
    noEntry.program = Expect::Installed;
    noEntry.udf = Expect::Installed;
    all.push_back(noEntry);
    return all;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, PatchTest, testing::ValuesIn(Scenarios()),
                         [](const testing::TestParamInfo<PatchScenario>& param) { return param.param.name; });

} // namespace
