#include "LauncherRun.h"
#include "UserTexts.h"

#include <gtest/gtest.h>

// Registered with WINEDLLOVERRIDES=uxtheme=n,b: Wine then looks for uxtheme.dll in the program's own
// folder first, as Windows does for a DLL that is not a KnownDLL.
namespace {

class PlantedDllTest : public UninstallEntryTest {
  protected:
    // A DLL that leaves planted-dll-ran.txt beside itself when a process loads it.
    static void PlantUxthemeIn(const std::string& folder) {
        ASSERT_TRUE(
            CopyFileA((TestProgramDir() + "planted.dll").c_str(), (folder + "uxtheme.dll").c_str(), FALSE));
    }
    static bool PlantedDllRanIn(const std::string& folder) { return Exists(folder + "planted-dll-ran.txt"); }
};

TEST_F(PlantedDllTest, ProgramWithoutTheHardeningLoadsTheDllPlantedBesideIt) {
    // The control: without it, the launcher rows below could pass because nothing is ever loaded.
    const TempDir dir("planted control");
    const std::string program = dir.Path() + "unhardened.exe";
    ASSERT_TRUE(CopyFileA((TestProgramDir() + "unhardened.exe").c_str(), program.c_str(), FALSE));
    PlantUxthemeIn(dir.Path());

    RunProgram(program);

    EXPECT_TRUE(PlantedDllRanIn(dir.Path()));
}

TEST_F(PlantedDllTest, LauncherRunThatPatchesNeverLoadsIt) {
    const TempDir installation("Corvane");
    const Distribution dist("Download Folder");
    const std::string launcher = dist.AddLauncher();
    PlantUxthemeIn(dist.Dir());
    InstallerScript script;
    script.installDir = installation.Path() + "Product\\";
    script.payload = "payload";
    script.uninstallString = "\"" + script.installDir + "uninst.exe\" /x";
    dist.AddInstaller(script);
    dist.AddFile("payload\\UDF\\Forms.udf", "Forms 2.0\r\n");
    dist.AddFile("Patch\\UDF\\Forms.udf", "Forms 2.0.1\r\n");

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(ReadBytes(script.installDir + "UDF\\Forms.udf"), "Forms 2.0.1\r\n");
    EXPECT_FALSE(PlantedDllRanIn(dist.Dir()));
}

TEST_F(PlantedDllTest, LauncherShowingItsBoxNeverLoadsIt) {
    const Distribution dist("Download Folder");
    const std::string launcher = dist.AddLauncher();
    PlantUxthemeIn(dist.Dir());

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 1u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, missingFileHeadline + L"\r\n\"" + Widened(dist.Dir()) + L"SETUP.EXE\"");
    EXPECT_FALSE(PlantedDllRanIn(dist.Dir()));
}

} // namespace
