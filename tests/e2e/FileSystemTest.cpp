// The real launcher.exe against machine conditions that its CTest fixtures make: a drive that
// fills up during the copy, and a UDF\ folder that is a link to another folder.
#include "LauncherRun.h"
#include "PendingRenames.h"

#include <gtest/gtest.h>
#include <set>

namespace {

// Bytes that differ from file to file, so that a cut or mixed file shows.
std::string Bytes(size_t size, char seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(seed + static_cast<char>(i % 251));
    }
    return bytes;
}

class FileSystemTest : public UninstallEntryTest {
  protected:
    void SetUp() override {
        UninstallEntryTest::SetUp();
        ClearPendingRenames();
    }
    void TearDown() override {
        EXPECT_TRUE(PendingRenamesList().empty()) << "nothing is left for the restart";
        ClearPendingRenames();
        UninstallEntryTest::TearDown();
    }

    void AddInstaller(const std::string& installDir) const {
        InstallerScript script;
        script.installDir = installDir;
        script.payload = "payload";
        script.uninstallString = "\"" + installDir + "uninst.exe\" /x";
        dist.AddInstaller(script);
    }

    const Distribution dist{"Corvane Dist"};
};

// The safe replacement needs room for the new file beside the old one: without it the copy fails
// and the installed program stays whole, where an overwrite would have left it cut.
TEST_F(FileSystemTest, FullDiskLeavesTheInstalledProgramWhole) {
    if (GetFileAttributesA("Q:\\") == INVALID_FILE_ATTRIBUTES) {
        const std::optional<std::string> reason = ReadBytes(SMALL_DRIVE_SKIP_FILE);
        if (reason) {
            GTEST_SKIP() << "no small drive for this test: " << *reason;
        }
        FAIL() << "drive Q: is missing: the small-drive fixture did not run";
    }
    const std::string installDir = "Q:\\Corvane\\";
    const std::string installed = Bytes(100 * 1024, 'i');
    const std::string corrected = Bytes(400 * 1024, 'c');
    dist.AddFile("payload\\bin\\Corvadmin.exe", installed);
    dist.AddFile("payload\\UDF\\Forms.udf", "Forms 2.0 (faulty)");
    dist.AddFile("Patch\\bin\\Corvadmin.exe", corrected);
    dist.AddFile("Patch\\UDF\\Forms.udf", "Forms 2.0.1 (corrected)");
    dist.AddFile("Patch\\UDF\\Reports.udf", "Reports 2.0.1 (new in the patch)");
    AddInstaller(installDir);
    const std::string launcher = dist.AddLauncher();

    const ProgramRun run = RunProgram(launcher);

    ULARGE_INTEGER freeBytes{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("Q:\\", &freeBytes, nullptr, nullptr));
    EXPECT_LT(freeBytes.QuadPart + installed.size(), corrected.size())
        << "the drive must be too small for an overwrite too";
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_TRUE(ReadBytes(installDir + "bin\\Corvadmin.exe") == installed) << "byte for byte as installed";
    EXPECT_EQ(FileNamesIn(installDir + "bin\\"), std::set<std::string>{"Corvadmin.exe"})
        << "no temporary file";
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Forms.udf").value_or(""), "Forms 2.0.1 (corrected)");
    EXPECT_EQ(ReadBytes(installDir + "UDF\\Reports.udf").value_or(""), "Reports 2.0.1 (new in the patch)");
    EXPECT_EQ(FileNamesIn(installDir + "UDF\\"), (std::set<std::string>{"Forms.udf", "Reports.udf"}));
    RemoveTree(installDir);
}

// A link planted at UDF\ would send the files wherever it points (System32, for one).
TEST_F(FileSystemTest, LinkedUdfFolderIsNotWrittenThrough) {
    const std::string root = "C:\\corvane-linked\\";
    const std::string installDir = root + "Corvane\\";
    const DWORD link = GetFileAttributesA((installDir + "UDF").c_str());
    ASSERT_NE(link, INVALID_FILE_ATTRIBUTES) << "the linked-UDF fixture did not run";
    ASSERT_EQ(link & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY),
              static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        << "UDF must be a link to a folder, attributes 0x" << std::hex << link;
    ASSERT_TRUE(FileNamesIn(root + "Elsewhere\\").empty());
    dist.AddFile("payload\\bin\\Corvadmin.exe", "Corvadmin 2.0 (faulty)");
    dist.AddFile("Patch\\bin\\Corvadmin.exe", "Corvadmin 2.0.1 (corrected)");
    dist.AddFile("Patch\\UDF\\Forms.udf", "Forms 2.0.1 (corrected)");
    dist.AddFile("Patch\\UDF\\Reports.udf", "Reports 2.0.1 (new in the patch)");
    AddInstaller(installDir);
    const std::string launcher = dist.AddLauncher();

    const ProgramRun run = RunProgram(launcher);

    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_TRUE(FileNamesIn(root + "Elsewhere\\").empty()) << "the folder the link names stays empty";
    EXPECT_EQ(ReadBytes(installDir + "bin\\Corvadmin.exe").value_or(""), "Corvadmin 2.0.1 (corrected)");
    EXPECT_EQ(FileNamesIn(installDir + "bin\\"), std::set<std::string>{"Corvadmin.exe"});
}

} // namespace
