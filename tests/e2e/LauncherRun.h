#pragma once

#include "DialogWatcher.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

// What the test installer (SETUP.EXE in a test distribution) does when the launcher starts it.
struct InstallerScript {
    std::string installDir;      // folder it creates, with its trailing backslash
    std::string payload;         // folder beside SETUP.EXE whose tree it copies into installDir
    std::string uninstallString; // value of the uninstall entry it writes; none when empty
    std::string installLocation; // the entry's InstallLocation; none when empty
    bool perUser = false;        // the entry goes under HKEY_CURRENT_USER instead of HKEY_LOCAL_MACHINE
    int sleepMs = 0;
    int exitCode = 0;
    bool crash = false;
};

// How a run of a program ended, and the boxes it showed on the way (each closed with OK).
struct ProgramRun {
    DWORD exitCode = 0;
    std::vector<SeenBox> boxes;
};

// Starts exePath (quoted) with arguments, closes every box it shows, and waits until it ends.
// A run that has not ended after two minutes is ended and reported as exit code 0xDEAD.
ProgramRun RunProgram(const std::string& exePath, const std::string& arguments = "",
                      const std::string& workingDir = "");

// A distribution folder as a vendor ships it: launcher, SETUP.EXE and Patch\ side by side.
class Distribution {
  public:
    explicit Distribution(const std::string& folderName = "My Dist");

    const std::string& Dir() const { return dir_.Path(); }
    // The launcher, under the name given (it decides the launcher's title).
    std::string AddLauncher(const std::string& name = "launcher.exe") const;
    void AddInstaller(const InstallerScript& script) const;
    // A file under the distribution folder, given its relative path ("Patch\\UDF\\a.udf").
    void AddFile(const std::string& relativePath, const std::string& bytes) const;

  private:
    TempDir dir_;
};

// The product's uninstall entry, in every place the launcher reads it; tests remove it before and
// after.
constexpr char uninstallKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";
void DeleteUninstallEntry();

// A test that starts and ends without the product's uninstall entry, whatever it writes meanwhile.
class UninstallEntryTest : public testing::Test {
  protected:
    void SetUp() override { DeleteUninstallEntry(); }
    void TearDown() override { DeleteUninstallEntry(); }
};
