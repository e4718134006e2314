#include "LauncherRun.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct RealInstaller {
    const char* name; // bin\nsis\<name>.exe
    const char* what;
};

std::ostream& operator<<(std::ostream& out, const RealInstaller& installer) {
    return out << installer.name;
}

class RealInstallerTest : public UninstallEntryTest, public testing::WithParamInterface<RealInstaller> {};

// The NSIS installers end with the line that many real ones end with after changing the
// environment; a launcher that did not answer the broadcast would keep them from ending.
TEST_P(RealInstallerTest, RunsToItsEndAndThePatchLands) {
    const TempDir installation("Corvane NSIS");
    const std::string installDir = installation.Path() + "Corvane";
    const Distribution dist("NSIS Dist");
    const std::string launcher = dist.AddLauncher();
    dist.AddNsisInstaller(GetParam().name, installDir);
    dist.AddFile("Patch\\bin\\Corvadmin.exe", "Corvadmin 2.0.1 (corrected build)\r\n");
    dist.AddFile("Patch\\UDF\\Forms.udf", "Forms 2.0.1 (corrected)\r\n");
    dist.AddFile("Patch\\UDF\\Labels.udf", "Labels 2.0.1 (new)\r\n");

    const ProgramRun run = RunProgram(launcher, "", "", 60000);

    EXPECT_EQ(run.exitCode, 0u) << GetParam().what;
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(ReadBytes(installDir + "\\bin\\Corvadmin.exe"), "Corvadmin 2.0.1 (corrected build)\r\n");
    EXPECT_EQ(ReadBytes(installDir + "\\UDF\\Forms.udf"), "Forms 2.0.1 (corrected)\r\n");
    EXPECT_EQ(ReadBytes(installDir + "\\UDF\\Labels.udf"), "Labels 2.0.1 (new)\r\n");
    EXPECT_EQ(ReadBytes(installDir + "\\UDF\\Reports.udf"), NsisPayload("UDF\\Reports.udf"));
    EXPECT_EQ(ReadBytes(installDir + "\\UDF\\Custom.udf"), NsisPayload("UDF\\Custom.udf"));
    EXPECT_TRUE(Exists(installDir + "\\uninst.exe")) << "the installer did not run to its end";
}

INSTANTIATE_TEST_SUITE_P(
    Nsis, RealInstallerTest,
    testing::Values(RealInstaller{"nsis_plain", "a plain installer"},
                    RealInstaller{"nsis_broadcast", "SendMessage to HWND_BROADCAST without a time limit"},
                    RealInstaller{"nsis_broadcast_timeout",
                                  "SendMessage to HWND_BROADCAST with /TIMEOUT=5000"}),
    [](const testing::TestParamInfo<RealInstaller>& param) { return std::string(param.param.name); });

} // namespace
