#pragma once

#include <string>

// The launcher's messages as the user reads them, in Unicode.
// "Липсващ файл": missing file.
inline const std::wstring missingFileHeadline =
    L"\x041B\x0438\x043F\x0441\x0432\x0430\x0449 \x0444\x0430\x0439\x043B";
// "Грешка %d при опит за стартиране на": error N while trying to start.
inline std::wstring StartErrorHeadline(unsigned long code) {
    return L"\x0413\x0440\x0435\x0448\x043A\x0430 " + std::to_wstring(code) +
           L" \x043F\x0440\x0438 \x043E\x043F\x0438\x0442 \x0437\x0430 "
           L"\x0441\x0442\x0430\x0440\x0442\x0438\x0440\x0430\x043D\x0435 \x043D\x0430";
}
inline const std::wstring startErrorWord = L"\x0413\x0440\x0435\x0448\x043A\x0430 ";

// ASCII text widened as it shows in a box.
inline std::wstring Widened(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}
