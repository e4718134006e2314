#pragma once

#include "AnsiString.h"
#include "Exception.h"
#include "Handles.h"

#include <windows.h>

class ERegistryException : public Exception {
  public:
    using Exception::Exception;
};

// Access to one registry key at a time under a chosen root. The open key is closed by CloseKey,
// by opening another, or at the latest when the object is destroyed. The access rights may carry
// a registry view (KEY_WOW64_64KEY, KEY_WOW64_32KEY): every key is then opened in that view.
class TRegistry {
  public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) : access_(access) {}

    void SetRootKey(HKEY root);
    // Opens key without creating it. A key that begins with "\" is taken from the root; any other
    // from the open key, or from the root when none is open. Gives whether the key was opened.
    bool OpenKey(const AnsiString& key);
    void CloseKey() { current_.reset(); }

    // A missing value, or one of size 0, reads as empty text. Data of a type other than REG_SZ or
    // REG_EXPAND_SZ raises ERegistryException. The text ends at the first zero byte or at the end
    // of the data; REG_EXPAND_SZ comes back as stored.
    AnsiString ReadString(const AnsiString& name) const;
    // A missing value, or one that is not REG_DWORD, raises ERegistryException.
    int ReadInteger(const AnsiString& name) const;
    // The registry type of the value (REG_SZ, REG_EXPAND_SZ, ...); REG_NONE when it cannot be read.
    DWORD GetDataType(const AnsiString& name) const;

  private:
    HKEY root_ = HKEY_CURRENT_USER;
    REGSAM access_;
    UniqueKey current_;
};
