#include "ReadRegistryValue.h"

#include "Registry.h"

#include <exception>

bool ReadRegistryValue(AnsiString key, AnsiString valueName, int kind, AnsiString& textOut, int& integerOut,
                       HKEY root) {
    // Reading needs no write access: full access would make a key that an ordinary user may read
    // but not change (HKEY_LOCAL_MACHINE) look missing.
    TRegistry registry(KEY_READ);
    try {
        registry.SetRootKey(root);
        const bool opened = registry.OpenKey(key);
        if (opened && kind == rkString) {
            textOut = registry.ReadString(valueName);
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
