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
    std::string parentWindowsFile; // where it records the top-level windows of the launcher; none when empty
    std::string recordCommandLine; // file where it writes the command line it got (UTF-8); none when empty
};

// How a run of a program ended, and the boxes it showed on the way (each closed with OK).
struct ProgramRun {
    DWORD exitCode = 0;
    std::vector<SeenBox> boxes;
};

// Starts exePath (quoted) with arguments, closes every box it shows, and waits until it ends.
// A run that has not ended after limitMs (two minutes unless given) is ended, reported as a failure
// and as exit code 0xDEAD.
ProgramRun RunProgram(const std::string& exePath, const std::string& arguments = "",
                      const std::string& workingDir = "", DWORD limitMs = 120000);

// What the real NSIS installers install (bin\nsis\payload\ beside the test programs): the file
// given by its path inside the installation.
std::string NsisPayload(const std::string& relativePath);

// The same for a program whose path only Unicode can write, started by that path, as the shell would.
ProgramRun RunProgram(const std::wstring& exePath);

// A distribution folder as a vendor ships it: launcher, SETUP.EXE and Patch\ side by side.
class Distribution {
  public:
    explicit Distribution(const std::string& folderName = "My Dist");
    // A folder whose name is given in Unicode, made through the Unicode calls, so that it may hold
    // letters that the ANSI code page lacks. Dir() is then a form the ANSI calls can open (the short
    // form when needed); DirW() is its path as the user reads it.
    explicit Distribution(const std::wstring& folderName);
    ~Distribution();
    Distribution(const Distribution&) = delete;
    Distribution& operator=(const Distribution&) = delete;

    const std::string& Dir() const { return dir_; }
    const std::wstring& DirW() const { return dirW_; }
    // The launcher, under the name given (it decides the launcher's title).
    std::string AddLauncher(const std::string& name = "launcher.exe") const;
    void AddInstaller(const InstallerScript& script) const;
    // A real NSIS installer built by the project (bin\nsis\<name>.exe) as SETUP.EXE, installing into
    // installDir.
    void AddNsisInstaller(const std::string& name, const std::string& installDir) const;
    // A file under the distribution folder, given its relative path ("Patch\\UDF\\a.udf").
    void AddFile(const std::string& relativePath, const std::string& bytes) const;

  private:
    TempDir parent_;
    std::string dir_;
    std::wstring dirW_;
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
