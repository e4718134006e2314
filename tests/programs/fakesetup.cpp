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
#include "Handles.h"
#include "TestFiles.h"

#include <string>
#include <vector>
#include <windows.h>

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

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string ownDir = TestProgramDir();
    const std::string ini = ownDir + "SETUP.INI";

    Sleep(static_cast<DWORD>(GetPrivateProfileIntA("Setup", "SleepMs", 0, ini.c_str())));

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
