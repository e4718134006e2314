#pragma once

#include "AnsiString.h"

#include <string>
#include <windows.h>

// The one place where text crosses from single-byte code pages to UTF-16 for display.
std::wstring WideFromCodePage(UINT codePage, const std::string& bytes);
inline std::wstring WideFromAnsi(const AnsiString& text) {
    return WideFromCodePage(CP_ACP, text.str());
}

constexpr UINT bulgarianCodePage = 1251;

// UTF-16 text in a single-byte or double-byte code page, and whether every character made it
// there as itself. No best-fit look-alike is accepted ("\x0141" is not "L"): in a path it would
// silently name another file.
struct CodePageText {
    std::string bytes;
    bool lossless = false;
};
CodePageText CodePageFromWide(UINT codePage, const std::wstring& wide);
inline CodePageText AnsiFromWide(const std::wstring& wide) {
    return CodePageFromWide(GetACP(), wide);
}
