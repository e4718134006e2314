// Files in use, end to end, across Wine's restart. Each case is split in two: "Run" runs the real
// launcher.exe while the file is in use, "AfterRestart" looks at the installation once the prefix
// has been restarted (wineboot -r). CTest runs them in that order with the restart between them,
// outside any Windows process of the prefix. The installations live in fixed folders, so that the
// second part finds what the first made; "AfterRestart" removes them.
#include "Handles.h"
#include "LauncherRun.h"
#include "PendingRenames.h"

#include <gtest/gtest.h>
#include <set>

namespace {

const std::string runningRoot = "C:\\corvane-restart\\running\\";
const std::string heldRoot = "C:\\corvane-restart\\held\\";
const std::string correctedProgram = "Corvadmin 2.0.1 (corrected)";
const std::string installedForms = "Forms 2.0 (faulty)";
const std::string correctedForms = "Forms 2.0.1 (corrected)";
const std::string correctedReports = "Reports 2.0.1 (new in the patch)";
const std::string installedCustom = "Custom forms of the customer";
constexpr char stopEvent[] = "CorvaneKeepRunningStop";

bool IsIn(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() &&
           lstrcmpiA(path.substr(0, folder.size()).c_str(), folder.c_str()) == 0;
}

bool IsTemporaryIn(const std::string& path, const std::string& folder) {
    return IsIn(path, folder + "cvl") && path.find('\\', folder.size()) == std::string::npos;
}

// The renames scheduled for files in folder: both cases of "Run" schedule in the same prefix.
std::vector<PendingRename> PendingIn(const std::string& folder) {
    std::vector<PendingRename> found;
    for (const PendingRename& rename : PendingRenamesList()) {
        if (IsIn(rename.from, folder)) {
            found.push_back(rename);
        }
    }
    return found;
}

// Whether the program the installer started runs: it makes its event when it starts, so it is
// given a minute to get there.
bool KeepRunningRuns() {
    for (int i = 0; i < 600; ++i) {
        if (UniqueHandle(OpenEventA(SYNCHRONIZE, FALSE, stopEvent)).valid()) {
            return true;
        }
        Sleep(100);
    }
    return false;
}

// The program the installer started: tells it to end and waits, at most a minute, until it has.
// The event it waits for exists as long as the program runs.
bool EndKeepRunning() {
    {
        const UniqueHandle stop(OpenEventA(EVENT_MODIFY_STATE, FALSE, stopEvent));
        if (!stop.valid()) {
            return false;
        }
        SetEvent(stop.get());
    }
    for (int i = 0; i < 600; ++i) {
        const UniqueHandle still(OpenEventA(SYNCHRONIZE, FALSE, stopEvent));
        if (!still.valid()) {
            return true;
        }
        Sleep(100);
    }
    return false;
}

class Run : public UninstallEntryTest {};

// The installer starts the installed program at its end, as a "Launch" box does: the running
// program's file cannot be replaced, but it can be renamed.
TEST_F(Run, InstallerStartsTheProgram) {
    RemoveTree(runningRoot);
    const std::string installDir = runningRoot + "Corvane\\";
    const Distribution dist("Corvane Dist");
    ASSERT_TRUE(CopyFileA((TestProgramDir() + "nsis\\nsis_starts_program.exe").c_str(),
                          (dist.Dir() + "SETUP.EXE").c_str(), FALSE));
    dist.AddFile("SETUP.INI", "[Setup]\r\nInstallDir=" + installDir + "\r\n");
    dist.AddFile("Patch\\bin\\Corvadmin.exe", correctedProgram);
    dist.AddFile("Patch\\UDF\\Forms.udf", correctedForms);
    const std::string launcher = dist.AddLauncher();

    const ProgramRun run = RunProgram(launcher);

    EXPECT_TRUE(KeepRunningRuns()) << "the installed program runs after the installer";
    EXPECT_TRUE(EndKeepRunning()) << "the program did not end within a minute";
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(ReadBytes(installDir + "bin\\Corvadmin.exe").value_or(""), correctedProgram);
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Forms.udf").value_or(""), correctedForms);
    // The running copy goes on from the renamed file, which goes at the restart.
    const std::vector<PendingRename> pending = PendingIn(runningRoot);
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_TRUE(IsTemporaryIn(pending[0].from, installDir + "bin\\")) << pending[0].from;
    EXPECT_TRUE(pending[0].to.empty()) << "deleted at the restart, not moved: " << pending[0].to;
    EXPECT_EQ(FileNamesIn(installDir + "bin\\").size(), 2u) << "the renamed program waits for the restart";
}

// Another process holds a UDF file open without sharing during the run: neither replaced nor
// renamed, it is replaced at the restart; the other files are copied at once.
TEST_F(Run, UdfFileHeldOpen) {
    RemoveTree(heldRoot);
    const std::string installDir = heldRoot + "Corvane\\";
    ASSERT_TRUE(MakeDirs(installDir + "UDF"));
    ASSERT_TRUE(WriteBytes(installDir + "UDF\\Forms.udf", installedForms));
    ASSERT_TRUE(WriteBytes(installDir + "UDF\\Custom.udf", installedCustom));
    const Distribution dist("Corvane Dist");
    InstallerScript script; // the product is already installed: the installer only registers it
    script.installDir = installDir;
    script.uninstallString = "\"" + installDir + "uninst.exe\" /x";
    dist.AddInstaller(script);
    dist.AddFile("Patch\\UDF\\Forms.udf", correctedForms);
    dist.AddFile("Patch\\UDF\\Reports.udf", correctedReports);
    const std::string launcher = dist.AddLauncher();

    ProgramRun run;
    {
        const UniqueHandle held(CreateFileA((installDir + "UDF\\Forms.udf").c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.valid());
        run = RunProgram(launcher);
    }

    EXPECT_EQ(run.exitCode, 3010u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Forms.udf").value_or(""), installedForms)
        << "unchanged until the restart";
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Reports.udf").value_or(""), correctedReports);
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Custom.udf").value_or(""), installedCustom);
    const std::vector<PendingRename> pending = PendingIn(heldRoot);
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_TRUE(IsTemporaryIn(pending[0].from, installDir + "UDF\\")) << pending[0].from;
    EXPECT_EQ(lstrcmpiA(pending[0].to.c_str(), (installDir + "UDF\\Forms.udf").c_str()), 0) << pending[0].to;
    EXPECT_EQ(ReadBytes(pending[0].from).value_or(""), correctedForms);
}

// ---- after wineboot -r ------------------------------------------------------------------------

class AfterRestart : public UninstallEntryTest {
  protected:
    void TearDown() override {
        EXPECT_TRUE(PendingRenamesList().empty()) << "every scheduled rename was carried out";
        UninstallEntryTest::TearDown();
    }
};

TEST_F(AfterRestart, InstallerStartsTheProgram) {
    const std::string installDir = runningRoot + "Corvane\\";
    EXPECT_EQ(ReadBytes(installDir + "bin\\Corvadmin.exe").value_or("(absent)"), correctedProgram);
    EXPECT_EQ(FileNamesIn(installDir + "bin\\"), std::set<std::string>{"Corvadmin.exe"})
        << "bin\\ holds what it held before the patch";
    RemoveTree(runningRoot);
}

TEST_F(AfterRestart, UdfFileHeldOpen) {
    const std::string installDir = heldRoot + "Corvane\\";
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Forms.udf").value_or("(absent)"), correctedForms);
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Reports.udf").value_or("(absent)"), correctedReports);
    EXPECT_EQ(FileNamesIn(installDir + "UDF\\"),
              (std::set<std::string>{"Custom.udf", "Forms.udf", "Reports.udf"}))
        << "nothing is left over";
    RemoveTree(heldRoot);
}

} // namespace
