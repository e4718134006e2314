#include "LauncherRun.h"

#include "Handles.h"
#include "UninstallEntry.h"

#include <gtest/gtest.h>

ProgramRun RunProgram(const std::string& exePath, const std::string& arguments,
                      const std::string& workingDir) {
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    ProgramRun run;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &created)) {
        ADD_FAILURE() << "could not start " << exePath << ": error " << GetLastError();
        run.exitCode = 0xDEAD;
        return run;
    }
    const UniqueHandle process(created.hProcess);
    const UniqueHandle thread(created.hThread);
    {
        DialogWatcher watcher(created.dwProcessId);
        if (WaitForSingleObject(process.get(), 120000) != WAIT_OBJECT_0) {
            TerminateProcess(process.get(), 0xDEAD);
            WaitForSingleObject(process.get(), 10000);
            ADD_FAILURE() << exePath << " did not end";
        }
        run.boxes = watcher.Boxes();
    }
    GetExitCodeProcess(process.get(), &run.exitCode);
    return run;
}

Distribution::Distribution(const std::string& folderName) : dir_(folderName) {}

std::string Distribution::AddLauncher(const std::string& name) const {
    const std::string path = Dir() + name;
    EXPECT_TRUE(CopyFileA((TestProgramDir() + "launcher.exe").c_str(), path.c_str(), FALSE));
    return path;
}

void Distribution::AddInstaller(const InstallerScript& script) const {
    EXPECT_TRUE(
        CopyFileA((TestProgramDir() + "fakesetup.exe").c_str(), (Dir() + "SETUP.EXE").c_str(), FALSE));
    std::string ini = "[Setup]\r\nInstallDir=" + script.installDir + "\r\nPayload=" + script.payload +
                      "\r\nUninstallString=" + script.uninstallString +
                      "\r\nSleepMs=" + std::to_string(script.sleepMs) +
                      "\r\nExitCode=" + std::to_string(script.exitCode) +
                      "\r\nCrash=" + (script.crash ? "1" : "0") + "\r\n";
    ini += "InstallLocation=" + script.installLocation +
           "\r\nEntryRoot=" + (script.perUser ? "HKCU" : "HKLM") + "\r\n";
    EXPECT_TRUE(WriteBytes(Dir() + "SETUP.INI", ini));
}

void Distribution::AddFile(const std::string& relativePath, const std::string& bytes) const {
    const std::string path = Dir() + relativePath;
    MakeDirs(path.substr(0, path.find_last_of('\\')));
    EXPECT_TRUE(WriteBytes(path, bytes)) << path;
}

void DeleteUninstallEntry() {
    DeleteUninstallEntryEverywhere();
}
