// Times the launcher's UDF step for bench/run: one call of CopyDirectoryFiles over the given
// folders, measured inside the process so that Wine's process start is left out, and beside it,
// in the same process and over the same files, a plain CopyFileA overwrite of each file: what the
// safe replacement costs is their ratio. Both copy over files that are already there, as a patch
// does: an untimed first pass puts them there. Prints the milliseconds of the safe step, of the
// plain loop, and the number of failed copies.
//   copybench.exe <source folder> <target folder>
#include "FileCopy.h"
#include "SearchRec.h"

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

// The copy as it was before the safe replacement: CopyFileA over each installed file.
int OverwriteEachFile(const AnsiString& source, const AnsiString& target) {
    int failed = 0;
    TSearchRec entry;
    for (bool found = entry.FindFirst(source + "*.*", 0x3F); found; found = entry.FindNext()) {
        if (IsCopiedEntry(entry.Name, entry.Attr) &&
            !CopyFileA((source + entry.Name).c_str(), (target + entry.Name).c_str(), FALSE)) {
            ++failed;
        }
    }
    return failed;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: copybench <source folder> <target folder>\n");
        return 2;
    }
    const AnsiString source = WithTrailingBackslash(argv[1]);
    const AnsiString target = WithTrailingBackslash(argv[2]);
    int failed = OverwriteEachFile(source, target);

    const LONGLONG start = Ticks();
    failed += CopyDirectoryFiles(source, target, "*.*").failed;
    const LONGLONG safe = Ticks() - start;

    const LONGLONG plainStart = Ticks();
    failed += OverwriteEachFile(source, target);
    const LONGLONG plain = Ticks() - plainStart;

    std::printf("%.3f %.3f ms (safe replacement, CopyFileA overwrite), %d failed\n", Milliseconds(safe),
                Milliseconds(plain), failed);
    return failed == 0 ? 0 : 1;
}
