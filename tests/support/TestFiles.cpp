#include "TestFiles.h"

#include "SearchRec.h"

#include "Handles.h"

#include <atomic>
#include <vector>

std::string TestProgramDir() {
    std::vector<char> buffer(32768);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::string path(buffer.data(), length);
    return path.substr(0, path.find_last_of('\\') + 1);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    const UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok && written == bytes.size();
}

std::optional<std::string> ReadBytes(const std::string& path) {
    const UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) {
        return std::nullopt;
    }
    std::string bytes;
    std::vector<char> chunk(65536);
    DWORD got = 0;
    while (ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) && got > 0) {
        bytes.append(chunk.data(), got);
    }
    return bytes;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeDirs(const std::string& path) {
    // CharNextA steps over double-byte characters, whose second byte may be the code of "\".
    for (const char* p = path.c_str() + 3; *p; p = CharNextA(p)) {
        if (*p == '\\') {
            CreateDirectoryA(path.substr(0, static_cast<size_t>(p - path.c_str())).c_str(), nullptr);
        }
    }
    CreateDirectoryA(path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
    std::string dir = path;
    if (!dir.empty() && dir.back() == '\\') {
        dir.pop_back();
    }
    WIN32_FIND_DATAA entry;
    if (const UniqueFindHandle search(FindFirstFileA((dir + "\\*").c_str(), &entry)); search.valid()) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string child = dir + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search.get(), &entry));
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

TempDir::TempDir(const std::string& name) {
    static std::atomic<unsigned> counter{0};
    std::vector<char> temp(MAX_PATH + 1);
    GetTempPathA(static_cast<DWORD>(temp.size()), temp.data());
    parent_ = std::string(temp.data()) + "launcher-test " + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(counter++) + "\\";
    path_ = parent_ + name + "\\";
    MakeDirs(path_);
}

TempDir::~TempDir() {
    RemoveTree(parent_);
}

std::set<std::string> FileNamesIn(const std::string& folder) {
    std::set<std::string> names;
    TSearchRec entry;
    for (bool found = entry.FindFirst((folder + "*.*").c_str(), 0x3F); found; found = entry.FindNext()) {
        if ((entry.Attr & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.insert(entry.Name.str());
        }
    }
    return names;
}

std::string EnvironmentVariable(const char* name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    std::string value(size, '\0');
    if (size == 0 || GetEnvironmentVariableA(name, &value[0], size) != size - 1) {
        return "";
    }
    value.resize(size - 1);
    return value;
}

namespace {

// The bytes of path in the ANSI code page; nothing when a character has no byte there.
std::optional<std::string> AnsiWithoutLoss(const std::wstring& path) {
    BOOL usedDefault = FALSE;
    std::vector<char> ansi(65536);
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, ansi.data(),
                                           static_cast<int>(ansi.size()), nullptr, &usedDefault);
    if (length == 0 || usedDefault) {
        return std::nullopt;
    }
    return std::string(ansi.data());
}

} // namespace

std::string AnsiOpenablePath(const std::wstring& path) {
    if (const std::optional<std::string> ansi = AnsiWithoutLoss(path)) {
        return *ansi;
    }
    std::vector<wchar_t> shortPath(32768);
    if (GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size())) == 0) {
        return std::string();
    }
    return AnsiWithoutLoss(shortPath.data()).value_or(std::string());
}
