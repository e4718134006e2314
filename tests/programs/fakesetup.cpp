// The test installer. Started as SETUP.EXE by the launcher, it "installs" a product the way the
// real installer would be seen from outside: it lays out an installation folder, copies its
// payload into it and writes the product's uninstall entry. What it does is read from SETUP.INI
// beside it, section [Setup]:
//   InstallDir=C:\Program Files\Corvane\   folder to create (with its trailing backslash)
//   Payload=payload                         folder beside SETUP.EXE copied into InstallDir
//   UninstallString="C:\...\uninst.exe" /x  written as the entry's value; no entry without it
//   InstallLocation=C:\...\Corvane\        also written to the entry when given
//   EntryRoot=HKCU                          write the entry per user (default HKLM)
//   SleepMs=0, ExitCode=0                   how long it runs and how it ends
//   Crash=1                                 end with an access violation instead
//   ParentWindowsFile=C:\...\windows.txt     record the top-level windows of the process that
//                                           started it: a line "windows=N", then one class name a line
//   RecordCommandLine=C:\...\cmdline.txt     write the command line it was started with (UTF-8)
#include "Handles.h"
#include "TestFiles.h"

#include <string>
#include <vector>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

namespace {

std::string Setting(const std::string& ini, const char* name) {
    std::vector<char> value(32768);
    GetPrivateProfileStringA("Setup", name, "", value.data(), static_cast<DWORD>(value.size()), ini.c_str());
    return value.data();
}

void CopyTree(const std::string& from, const std::string& to) {
    MakeDirs(to);
    WIN32_FIND_DATAA entry;
    const UniqueFindHandle search(FindFirstFileA((from + "*").c_str(), &entry));
    if (!search.valid()) {
        return;
    }
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(from + name + "\\", to + name + "\\");
        } else {
            CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
        }
    } while (FindNextFileA(search.get(), &entry));
}

// Where the entry is written, and whether it names InstallLocation.
struct EntrySettings {
    HKEY root = HKEY_LOCAL_MACHINE;
    std::string installLocation;
};

EntrySettings EntrySettingsOf(const std::string& ini) {
    EntrySettings settings;
    if (Setting(ini, "EntryRoot") == "HKCU") {
        settings.root = HKEY_CURRENT_USER;
    }
    settings.installLocation = Setting(ini, "InstallLocation");
    return settings;
}

void SetText(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void WriteUninstallEntry(const std::string& uninstallString, const EntrySettings& settings) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(settings.root, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane", 0,
                        nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const UniqueKey key(created);
    SetText(key.get(), "UninstallString", uninstallString);
    if (!settings.installLocation.empty()) {
        SetText(key.get(), "InstallLocation", settings.installLocation);
    }
}

DWORD ParentProcessId() {
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    const DWORD self = GetCurrentProcessId();
    for (BOOL found = Process32First(snapshot.get(), &entry); found;
         found = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == self) {
            return entry.th32ParentProcessID;
        }
    }
    return 0;
}

struct WindowSearch {
    DWORD processId;
    std::vector<std::string> classNames;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM search) {
    auto& wanted = *reinterpret_cast<WindowSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == wanted.processId) {
        std::vector<char> className(256);
        GetClassNameA(window, className.data(), static_cast<int>(className.size()));
        wanted.classNames.push_back(className.data());
    }
    return TRUE;
}

void RecordParentWindows(const std::string& file) {
    WindowSearch search{ParentProcessId(), {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    std::string record = "windows=" + std::to_string(search.classNames.size()) + "\r\n";
    for (const std::string& name : search.classNames) {
        record += name + "\r\n";
    }
    WriteBytes(file, record);
}

// Its own folder in a form the ANSI calls can open. Wine reports the long path to
// GetModuleFileNameA also when the process was started through the short one, so in a folder named
// outside the ANSI code page that gives "?"s: the short form of the Unicode path is taken then.
std::string OwnDir() {
    std::vector<wchar_t> path(32768);
    GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::string own = AnsiOpenablePath(path.data());
    return own.substr(0, own.find_last_of('\\') + 1);
}

void RecordCommandLine(const std::string& file) {
    const wchar_t* commandLine = GetCommandLineW();
    const int length = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> utf8(static_cast<size_t>(length > 0 ? length : 1));
    WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, utf8.data(), length, nullptr, nullptr);
    WriteBytes(file, utf8.data());
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string ownDir = OwnDir();
    const std::string ini = ownDir + "SETUP.INI";

    const std::string recordFile = Setting(ini, "RecordCommandLine");
    if (!recordFile.empty()) {
        RecordCommandLine(recordFile);
    }
    Sleep(static_cast<DWORD>(GetPrivateProfileIntA("Setup", "SleepMs", 0, ini.c_str())));

    const std::string windowsFile = Setting(ini, "ParentWindowsFile");
    if (!windowsFile.empty()) {
        RecordParentWindows(windowsFile);
    }

    const std::string installDir = Setting(ini, "InstallDir");
    if (!installDir.empty()) {
        MakeDirs(installDir);
        const std::string payload = Setting(ini, "Payload");
        if (!payload.empty()) {
            CopyTree(ownDir + payload + "\\", installDir);
        }
    }
    const std::string uninstallString = Setting(ini, "UninstallString");
    if (!uninstallString.empty()) {
        WriteUninstallEntry(uninstallString, EntrySettingsOf(ini));
    }
    if (GetPrivateProfileIntA("Setup", "Crash", 0, ini.c_str())) {
        *static_cast<volatile int*>(nullptr) = 0;
    }
    return static_cast<int>(GetPrivateProfileIntA("Setup", "ExitCode", 0, ini.c_str()));
}
