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
