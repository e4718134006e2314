// Times the launcher's UDF step for bench/run: one call of CopyDirectoryFiles over the given
// folders, measured inside the process so that Wine's process start is left out. Prints the
// milliseconds of the call and the number of failed copies.
//   copybench.exe <source folder> <target folder>
#include "FileCopy.h"

#include <cstdio>
#include <windows.h>

namespace {

// CopyDirectoryFiles joins folder and file name as they are, the way the launcher passes them.
AnsiString WithTrailingBackslash(const AnsiString& folder) {
    if (!folder.IsEmpty() && folder.LastDelimiter("\\") == folder.Length()) {
        return folder;
    }
    return folder + "\\";
}

LONGLONG Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: copybench <source folder> <target folder>\n");
        return 2;
    }
    const AnsiString source = WithTrailingBackslash(argv[1]);
    const AnsiString target = WithTrailingBackslash(argv[2]);
    const LONGLONG start = Ticks();
    const int failed = CopyDirectoryFiles(source, target, "*.*");
    const LONGLONG elapsed = Ticks() - start;
    std::printf("%.3f ms, %d failed\n", Milliseconds(elapsed), failed);
    return failed == 0 ? 0 : 1;
}
