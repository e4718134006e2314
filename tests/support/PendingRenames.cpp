#include "PendingRenames.h"

#include "Handles.h"

#include <windows.h>

namespace {

constexpr char sessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char valueName[] = "PendingFileRenameOperations";

std::string PlainPath(std::string entry) {
    if (!entry.empty() && entry[0] == '!') {
        entry.erase(0, 1);
    }
    if (entry.compare(0, 4, "\\??\\") == 0) {
        entry.erase(0, 4);
    }
    return entry;
}

} // namespace

std::vector<std::string> PendingRenameEntries() {
    std::vector<std::string> entries;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, sessionManager, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return entries;
    }
    const UniqueKey key(opened);
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return entries;
    }
    std::vector<char> data(size + 2, '\0');
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        return entries;
    }
    // The list ends with an empty entry of its own after the last pair.
    for (size_t start = 0; start < size;) {
        std::string entry(data.data() + start);
        start += entry.size() + 1;
        entries.push_back(entry);
    }
    if (entries.size() % 2 == 1 && entries.back().empty()) {
        entries.pop_back();
    }
    return entries;
}

std::vector<PendingRename> PendingRenamesList() {
    const std::vector<std::string> entries = PendingRenameEntries();
    std::vector<PendingRename> renames;
    for (size_t i = 0; i + 1 < entries.size(); i += 2) {
        renames.push_back(PendingRename{PlainPath(entries[i]), PlainPath(entries[i + 1])});
    }
    return renames;
}

void ClearPendingRenames() {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, sessionManager, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) {
        return;
    }
    const UniqueKey key(opened);
    RegDeleteValueA(key.get(), valueName);
}
