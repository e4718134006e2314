#include "ModuleFileName.h"

#include <vector>

AnsiString ModuleFileName(HMODULE module, DWORD firstBufferSize) {
    // Windows allows paths of up to 32767 characters; a buffer that holds that and the zero holds
    // any path.
    constexpr DWORD largestPath = 32768;
    DWORD size = firstBufferSize > 0 ? firstBufferSize : 1;
    for (;;) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(module, buffer.data(), size);
        if (length == 0) {
            return AnsiString();
        }
        // A result that fills the whole buffer means the path was cut (with or without its zero,
        // depending on the Windows version).
        if (length < size || size >= largestPath) {
            return AnsiString(buffer.data(), static_cast<int>(length));
        }
        size = size * 2 < largestPath ? size * 2 : largestPath;
    }
}
