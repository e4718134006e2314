#include "Printers.h"

#include <cstdio>

std::string Printable(const std::string& bytes) {
    std::string shown;
    for (unsigned char byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F) {
            shown += static_cast<char>(byte);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        }
    }
    return shown;
}
