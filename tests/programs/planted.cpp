// A DLL planted beside a program under the name of a system DLL. When a process loads it, it leaves
// a marker file beside itself naming that process, and does nothing else.
#include "Handles.h"

#include <string>
#include <windows.h>

namespace {

std::string ModulePath(HMODULE module) {
    std::string path(32768, '\0');
    path.resize(GetModuleFileNameA(module, &path[0], static_cast<DWORD>(path.size())));
    return path;
}

void LeaveMarker(HMODULE self) {
    const std::string own = ModulePath(self);
    const std::string marker = own.substr(0, own.find_last_of('\\') + 1) + "planted-dll-ran.txt";
    const std::string loader = ModulePath(nullptr);
    const UniqueHandle file(
        CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), loader.data(), static_cast<DWORD>(loader.size()), &written, nullptr);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        LeaveMarker(self);
    }
    return TRUE;
}
