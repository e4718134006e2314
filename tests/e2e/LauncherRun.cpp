#include "LauncherRun.h"

#include "Handles.h"
#include "UninstallEntry.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::wstring WideFromAnsiPath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(length > 0 ? length : 1));
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    return wide.data();
}

ProgramRun WatchUntilEnded(const PROCESS_INFORMATION& created, const std::string& shownName, DWORD limitMs) {
    ProgramRun run;
    const UniqueHandle process(created.hProcess);
    const UniqueHandle thread(created.hThread);
    {
        DialogWatcher watcher(created.dwProcessId);
        if (WaitForSingleObject(process.get(), limitMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.get(), 0xDEAD);
            WaitForSingleObject(process.get(), 10000);
            ADD_FAILURE() << shownName << " did not end within " << limitMs << " ms";
        }
        run.boxes = watcher.Boxes();
    }
    GetExitCodeProcess(process.get(), &run.exitCode);
    return run;
}

} // namespace

ProgramRun RunProgram(const std::wstring& exePath) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created)) {
        ADD_FAILURE() << "could not start a program by its Unicode path: error " << GetLastError();
        ProgramRun failed;
        failed.exitCode = 0xDEAD;
        return failed;
    }
    return WatchUntilEnded(created, "the program started by its Unicode path", 120000);
}

ProgramRun RunProgram(const std::string& exePath, const std::string& arguments, const std::string& workingDir,
                      DWORD limitMs) {
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &created)) {
        ADD_FAILURE() << "could not start " << exePath << ": error " << GetLastError();
        ProgramRun failed;
        failed.exitCode = 0xDEAD;
        return failed;
    }
    return WatchUntilEnded(created, exePath, limitMs);
}

Distribution::Distribution(const std::string& folderName)
    : parent_(folderName), dir_(parent_.Path()), dirW_(WideFromAnsiPath(dir_)) {}

Distribution::Distribution(const std::wstring& folderName)
    : parent_("unicode"), dirW_(WideFromAnsiPath(parent_.Path()) + folderName + L"\\") {
    EXPECT_TRUE(CreateDirectoryW(dirW_.c_str(), nullptr)) << "error " << GetLastError();
    dir_ = AnsiOpenablePath(dirW_);
    EXPECT_FALSE(dir_.empty()) << "the folder has no short form the ANSI calls can open";
}

// The folder goes before its parent: the ANSI search that removes the parent would see a name outside
// the code page as "?"s and could not remove it.
Distribution::~Distribution() {
    RemoveTree(dir_);
    RemoveDirectoryW(dirW_.c_str());
}

std::string Distribution::AddLauncher(const std::string& name) const {
    const std::string path = Dir() + name;
    EXPECT_TRUE(CopyFileA((TestProgramDir() + "launcher.exe").c_str(), path.c_str(), FALSE));
    return path;
}

void Distribution::AddInstaller(const InstallerScript& script) const {
    EXPECT_TRUE(
        CopyFileA((TestProgramDir() + "fakesetup.exe").c_str(), (Dir() + "SETUP.EXE").c_str(), FALSE));
    std::string ini =
        "[Setup]\r\nInstallDir=" + script.installDir + "\r\nPayload=" + script.payload +
        "\r\nUninstallString=" + script.uninstallString + "\r\nSleepMs=" + std::to_string(script.sleepMs) +
        "\r\nExitCode=" + std::to_string(script.exitCode) + "\r\nCrash=" + (script.crash ? "1" : "0") +
        "\r\nRecordCommandLine=" + script.recordCommandLine +
        "\r\nParentWindowsFile=" + script.parentWindowsFile + "\r\n";
    ini += "InstallLocation=" + script.installLocation +
           "\r\nEntryRoot=" + (script.perUser ? "HKCU" : "HKLM") + "\r\n";
    EXPECT_TRUE(WriteBytes(Dir() + "SETUP.INI", ini));
}

void Distribution::AddNsisInstaller(const std::string& name, const std::string& installDir) const {
    const std::string installer = TestProgramDir() + "nsis\\" + name + ".exe";
    EXPECT_TRUE(CopyFileA(installer.c_str(), (Dir() + "SETUP.EXE").c_str(), FALSE)) << installer;
    EXPECT_TRUE(WriteBytes(Dir() + "SETUP.INI", "[Setup]\r\nInstallDir=" + installDir + "\r\n"));
}

std::string NsisPayload(const std::string& relativePath) {
    return ReadBytes(TestProgramDir() + "nsis\\payload\\" + relativePath)
        .value_or("(missing from the payload)");
}

void Distribution::AddFile(const std::string& relativePath, const std::string& bytes) const {
    const std::string path = Dir() + relativePath;
    MakeDirs(path.substr(0, path.find_last_of('\\')));
    EXPECT_TRUE(WriteBytes(path, bytes)) << path;
}

void DeleteUninstallEntry() {
    DeleteUninstallEntryEverywhere();
}
