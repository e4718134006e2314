#pragma once

#include "AnsiString.h"

#include <ostream>
#include <string>

// Test output shows text as C++ would write it: bytes outside printable ASCII as \xNN escapes.
std::string Printable(const std::string& bytes);

inline void PrintTo(const AnsiString& text, std::ostream* out) {
    *out << '"' << Printable(text.str()) << '"';
}
