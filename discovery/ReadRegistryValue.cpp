#include "ReadRegistryValue.h"

#include "Registry.h"

#include <exception>
#include <utility>

bool ReadRegistryValue(AnsiString key, AnsiString valueName, int kind, AnsiString& textOut, int& integerOut,
                       HKEY root, DWORD* typeOut, REGSAM view) {
    // Reading needs no write access: full access would make a key that an ordinary user may read
    // but not change (HKEY_LOCAL_MACHINE) look missing.
    TRegistry registry(KEY_READ | view);
    try {
        registry.SetRootKey(root);
        const bool opened = registry.OpenKey(key);
        if (opened && kind == rkString) {
            AnsiString text = registry.ReadString(valueName);
            const DWORD type = registry.GetDataType(valueName);
            textOut = std::move(text);
            if (typeOut) {
                *typeOut = type;
            }
        } else if (opened && kind == rkInteger) {
            integerOut = registry.ReadInteger(valueName);
        }
        registry.CloseKey();
        return opened;
    } catch (...) {
        // The reader's one promise: a failure of any kind is a false result, never an error shown.
        registry.CloseKey();
        return false;
    }
}
