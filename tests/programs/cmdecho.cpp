// A stand-in child process for tests: cmdecho.exe <milliseconds> <file> [anything...]
// Waits the given time, then writes the whole command line it was started with to <file>, so a
// test can tell both that it was waited for and what it received. Started without arguments (as a
// program planted where it must never run), it leaves its command line in its own path + ".ran".
#include <cstdio>
#include <cstdlib>
#include <string>
#include <windows.h>

int main(int argc, char** argv) {
    std::string target;
    if (argc < 3) {
        char ownPath[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
        target = std::string(ownPath) + ".ran";
    } else {
        Sleep(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
        target = argv[2];
    }
    const std::string commandLine = GetCommandLineA();
    FILE* out = std::fopen(target.c_str(), "wb");
    if (!out) {
        return 3;
    }
    std::fwrite(commandLine.data(), 1, commandLine.size(), out);
    std::fclose(out);
    return 0;
}
