#include "WideText.h"

std::wstring WideFromCodePage(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(bytes.size());
    const int wideLength = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    if (wideLength > 0) {
        MultiByteToWideChar(codePage, 0, bytes.data(), size, &wide[0], wideLength);
    }
    return wide;
}

CodePageText CodePageFromWide(UINT codePage, const std::wstring& wide) {
    if (wide.empty()) {
        return CodePageText{std::string(), true};
    }
    // UTF-8 (a system set to "use Unicode UTF-8") can write every character but takes neither the
    // best-fit flag nor the default-character report: only invalid UTF-16 fails there.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const usedDefaultReport = utf8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefaultReport);
    if (length <= 0) {
        return CodePageText{};
    }
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, &bytes[0], length, nullptr, usedDefaultReport);
    return CodePageText{bytes, !usedDefault};
}
