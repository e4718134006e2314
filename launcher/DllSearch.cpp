#include "DllSearch.h"

#include <string>
#include <vector>

namespace {

FARPROC KernelExport(const char* name) {
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

std::string SystemFolder() {
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const UINT length = GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(length + 1);
    }
}

// Loaded for the rest of the process's life on purpose: the later on-demand load must find them.
void PreloadOnDemandSystemDlls() {
    const std::string systemFolder = SystemFolder();
    if (systemFolder.empty()) {
        return;
    }
    for (const char* dll : onDemandSystemDlls) {
        LoadLibraryExA((systemFolder + "\\" + dll).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}

} // namespace

DllSearchHardening RestrictDllSearchToSystem32(KernelExportLookup lookup) {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    // Looked up, not imported: an import the system lacks would keep the launcher from starting.
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>((lookup ? lookup : KernelExport)("SetDefaultDllDirectories")));
    DllSearchHardening hardening = DllSearchHardening::SystemDllsPreloaded;
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        hardening = DllSearchHardening::RestrictedToSystem32;
    } else {
        PreloadOnDemandSystemDlls();
    }
    SetDllDirectoryA("");
    return hardening;
}
