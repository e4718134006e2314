#include "OwnPath.h"

#include <vector>
#include <windows.h>

std::optional<AnsiString> ChooseAnsiExePath(const CodePageText& longPath,
                                            const std::optional<CodePageText>& shortPath) {
    if (longPath.lossless) {
        return AnsiString(longPath.bytes);
    }
    if (shortPath && shortPath->lossless && !shortPath->bytes.empty()) {
        return AnsiString(shortPath->bytes);
    }
    return std::nullopt;
}

std::optional<std::wstring> SystemShortPath(const std::wstring& longPath) {
    // The first call reports the size the short form needs, its zero included.
    const DWORD needed = GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (needed == 0) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetShortPathNameW(longPath.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed) {
        return std::nullopt;
    }
    return std::wstring(buffer.data(), length);
}

std::wstring OwnExePathW() {
    // Windows allows paths of up to 32767 characters; a buffer that holds that and the zero holds
    // any path.
    constexpr DWORD largestPath = 32768;
    for (DWORD size = MAX_PATH + 1;; size = size * 2 < largestPath ? size * 2 : largestPath) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return std::wstring();
        }
        // A result that fills the whole buffer means the path was cut.
        if (length < size || size >= largestPath) {
            return std::wstring(buffer.data(), length);
        }
    }
}

std::optional<AnsiString> AnsiExePath(const std::wstring& longPath, ShortPathLookup shortPathOf) {
    const CodePageText longForm = AnsiFromWide(longPath);
    if (longForm.lossless) {
        return ChooseAnsiExePath(longForm, std::nullopt);
    }
    const std::optional<std::wstring> shortPath = shortPathOf(longPath);
    return ChooseAnsiExePath(longForm, shortPath ? std::optional(AnsiFromWide(*shortPath)) : std::nullopt);
}

std::wstring WideDirectoryPart(const std::wstring& path) {
    const size_t last = path.find_last_of(L"\\:");
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}
