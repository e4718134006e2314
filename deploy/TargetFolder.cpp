#include "TargetFolder.h"

namespace {

AnsiString WithoutTrailingBackslash(const AnsiString& folder) {
    if (folder.Length() > 1 && folder[folder.Length()] == '\\') {
        return folder.SubString(1, folder.Length() - 1);
    }
    return folder;
}

DWORD AttributesOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileInformationByHandle(handle, &information) ? information.dwFileAttributes
                                                            : INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool IsWritableFolder(bool opened, DWORD handleAttributes, DWORD pathAttributes) {
    for (const DWORD attributes : {handleAttributes, pathAttributes}) {
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return false;
        }
    }
    return opened;
}

TargetFolder::TargetFolder(const AnsiString& folder) {
    const AnsiString path = WithoutTrailingBackslash(folder);
    handle_.reset(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr));
    const bool opened = handle_.valid();
    refused_ = !IsWritableFolder(opened, opened ? AttributesOfHandle(handle_.get()) : INVALID_FILE_ATTRIBUTES,
                                 GetFileAttributesA(path.c_str()));
}
