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
