#include "Registry.h"

#include <cstring>
#include <vector>

namespace {

[[noreturn]] void ThrowReadFailure(const AnsiString& name) {
    throw ERegistryException("Failed to get data for '" + name + "'");
}

[[noreturn]] void ThrowInvalidType(const AnsiString& name) {
    throw ERegistryException("Invalid data type for '" + name + "'");
}

AnsiString TextUpToFirstZero(const std::vector<char>& data, DWORD length) {
    const void* zero = std::memchr(data.data(), 0, length);
    const size_t textLength =
        zero ? static_cast<size_t>(static_cast<const char*>(zero) - data.data()) : length;
    return AnsiString(data.data(), static_cast<int>(textLength));
}

} // namespace

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(const AnsiString& key) {
    const bool fromRoot = !key.IsEmpty() && key[1] == '\\';
    const AnsiString path = fromRoot ? key.SubString(2, key.Length()) : key;
    const HKEY base = (fromRoot || !current_.valid()) ? root_ : current_.get();
    HKEY opened = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, access_, &opened) != ERROR_SUCCESS) {
        return false;
    }
    current_.reset(opened);
    return true;
}

AnsiString TRegistry::ReadString(const AnsiString& name) const {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        size == 0) {
        return AnsiString();
    }
    // The value may grow between the size query and the read; the read then reports the new size
    // and is tried again with a buffer that large. The data is never read past what was filled.
    std::vector<char> data;
    LONG result = ERROR_MORE_DATA;
    DWORD length = 0;
    for (int attempt = 0; result == ERROR_MORE_DATA && attempt < 16; ++attempt) {
        data.assign(size, '\0');
        length = size;
        result = RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &length);
        size = length > size ? length : size + size / 2 + 1;
    }
    if (result != ERROR_SUCCESS) {
        ThrowReadFailure(name);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        ThrowInvalidType(name);
    }
    return TextUpToFirstZero(data, length < data.size() ? length : static_cast<DWORD>(data.size()));
}

int TRegistry::ReadInteger(const AnsiString& name) const {
    DWORD type = 0;
    DWORD value = 0;
    DWORD length = sizeof value;
    const LONG result = RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &length);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) {
        ThrowReadFailure(name);
    }
    if (result != ERROR_SUCCESS || type != REG_DWORD) {
        ThrowInvalidType(name);
    }
    return static_cast<int>(value);
}

DWORD TRegistry::GetDataType(const AnsiString& name) const {
    DWORD type = REG_NONE;
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
        return REG_NONE;
    }
    return type;
}
