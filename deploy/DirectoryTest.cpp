#include "DirectoryTest.h"

#include <windows.h>

bool IsExistingDirectory(const AnsiString& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
