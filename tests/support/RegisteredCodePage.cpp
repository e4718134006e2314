#include "RegisteredCodePage.h"

#include <cstdlib>
#include <string>

UINT RegisteredCodePage() {
    const char* value = std::getenv("LC_ALL");
    const std::string locale = value ? value : "";
    if (locale.rfind("bg_BG", 0) == 0) {
        return 1251;
    }
    if (locale.rfind("ja_JP", 0) == 0) {
        return 932;
    }
    return 1252;
}
