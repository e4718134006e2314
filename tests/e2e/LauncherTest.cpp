#include "LauncherRun.h"
#include "UserTexts.h"

#include <gtest/gtest.h>

namespace {

class LauncherTest : public UninstallEntryTest {
  protected:
    // An installation with an empty UDF\ folder, which the launcher takes for the installation,
    // and its uninstall entry; the distribution has no Patch\, so the patch steps change nothing.
    InstallerScript ProductInstaller(const Distribution& dist) const {
        EXPECT_TRUE(MakeDirs(dist.Dir() + "payload\\UDF"));
        InstallerScript script;
        script.installDir = installation.Path() + "Product\\";
        script.payload = "payload";
        script.uninstallString = "\"" + script.installDir + "uninst.exe\" /x";
        return script;
    }

    TempDir installation{"Corvane"};
};

TEST_F(LauncherTest, RunsTheInstallerBesideItAndWaitsForIt) {
    const Distribution dist("My Dist");
    const std::string launcher = dist.AddLauncher();
    InstallerScript script = ProductInstaller(dist);
    script.sleepMs = 1000;
    dist.AddInstaller(script);

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_TRUE(Exists(script.installDir)) << "the installer makes the folder only after its pause";
}

TEST_F(LauncherTest, OwnsNoWindowWhileTheInstallerRuns) {
    // A window whose thread waits would stall every broadcast the installer sends.
    const Distribution dist("My Dist");
    const std::string launcher = dist.AddLauncher();
    InstallerScript script = ProductInstaller(dist);
    script.parentWindowsFile = installation.Path() + "launcher windows.txt";
    dist.AddInstaller(script);

    const ProgramRun run = RunProgram(launcher);

    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(ReadBytes(script.parentWindowsFile), "windows=0\r\n");
}

TEST_F(LauncherTest, MissingInstallerShowsTheMissingFileBoxAndEndsWithCode1) {
    const Distribution dist("My Dist");
    const std::string launcher = dist.AddLauncher();

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 1u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, L"launcher");
    EXPECT_EQ(run.boxes[0].text, missingFileHeadline + L"\r\n\"" + Widened(dist.Dir()) + L"SETUP.EXE\"");
}

TEST_F(LauncherTest, ProgramPlantedAtTheBlankSplitPrefixIsNeverStarted) {
    // For "...\My Dist\SETUP.EXE" unquoted, Windows would first try "...\My.exe".
    const Distribution dist("My Dist");
    const std::string parent = dist.Dir().substr(0, dist.Dir().size() - std::string("My Dist\\").size());
    const std::string planted = parent + "My.exe";
    ASSERT_TRUE(CopyFileA((TestProgramDir() + "cmdecho.exe").c_str(), planted.c_str(), FALSE));
    const std::string launcher = dist.AddLauncher();

    struct Case {
        const char* name;
        bool withInstaller;
        DWORD expectedExitCode;
    };
    for (const Case& c : {Case{"installer missing", false, 1}, Case{"installer present", true, 0}}) {
        SCOPED_TRACE(c.name);
        if (c.withInstaller) {
            dist.AddInstaller(ProductInstaller(dist));
        }
        const ProgramRun run = RunProgram(launcher);
        EXPECT_EQ(run.exitCode, c.expectedExitCode);
        EXPECT_FALSE(Exists(planted + ".ran")) << "the planted program ran";
    }
}

TEST_F(LauncherTest, TitleFollowsTheLauncherFileName) {
    const Distribution dist("Dist");
    const std::string launcher = dist.AddLauncher("LAUNCH.EXE");

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 1u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, L"Launch");
}

TEST_F(LauncherTest, CommandLineArgumentsChangeNothing) {
    const Distribution dist("My Dist");
    const std::string launcher = dist.AddLauncher();
    const InstallerScript script = ProductInstaller(dist);
    dist.AddInstaller(script);

    const ProgramRun run = RunProgram(launcher, "/S /D=C:\\Elsewhere \"x y\"");

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_TRUE(Exists(script.installDir));
}

TEST_F(LauncherTest, WithoutAUsableUninstallEntryNothingIsCopiedAndTheCodeIs2) {
    // The bare relative names (BIN\, UDF\) must not be tried against the working directory.
    TempDir workingDir("Working Dir");
    ASSERT_TRUE(MakeDirs(workingDir.Path() + "BIN"));
    ASSERT_TRUE(MakeDirs(workingDir.Path() + "UDF"));

    struct Case {
        const char* name;
        const char* uninstallString; // nullptr: the installation's own uninstaller
        bool installsUdf;
    };
    for (const Case& c :
         {Case{"no entry", "", true}, Case{"entry without a folder", "MsiExec.exe /X{0000}", true},
          Case{"drive-relative entry", "C:uninst.exe", true},
          Case{"entry naming a folder with neither BIN nor UDF", nullptr, false}}) {
        SCOPED_TRACE(c.name);
        DeleteUninstallEntry();
        const Distribution dist("My Dist");
        const std::string launcher = dist.AddLauncher();
        dist.AddFile("Patch\\bin\\Corvadmin.exe", "corrected");
        dist.AddFile("Patch\\UDF\\Forms.udf", "corrected");
        InstallerScript script = ProductInstaller(dist);
        if (c.uninstallString) {
            script.uninstallString = c.uninstallString;
        }
        if (!c.installsUdf) {
            script.payload = "";
        }
        dist.AddInstaller(script);

        const ProgramRun run = RunProgram(launcher, "", workingDir.Path());

        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_FALSE(Exists(workingDir.Path() + "bin\\Corvadmin.exe"));
        EXPECT_FALSE(Exists(workingDir.Path() + "UDF\\Forms.udf"));
        for (const char* copied : {"bin\\Corvadmin.exe", "Corvadmin.exe", "UDF\\Forms.udf", "Forms.udf"}) {
            EXPECT_FALSE(Exists(script.installDir + copied)) << copied;
        }
        RemoveTree(script.installDir);
    }
}

} // namespace
