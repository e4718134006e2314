#include "FindInstallDir.h"

#include "PathText.h"
#include "ReadRegistryValue.h"

#include <vector>
#include <windows.h>

namespace {

constexpr char uninstallKeys[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Where installers write the entry. A 32-bit process on 64-bit Windows sees the 32-bit view of
// HKEY_LOCAL_MACHINE\SOFTWARE; an installer running in 64-bit mode writes to the 64-bit view, which
// only KEY_WOW64_64KEY reaches (on 32-bit Windows the flag is ignored and the same key is read
// again). A per-user installer writes under HKEY_CURRENT_USER, whose SOFTWARE is one for both.
struct EntryPlace {
    HKEY root;
    REGSAM view;
    bool is64BitView;
};
const EntryPlace entryPlaces[] = {
    {HKEY_LOCAL_MACHINE, 0, false},
    {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, true},
    {HKEY_CURRENT_USER, 0, false},
};

bool EndsProgramName(const AnsiString& commandLine, int position) {
    return position > commandLine.Length() || commandLine[position] == ' ' || commandLine[position] == '\t' ||
           commandLine[position] == '"';
}

bool IsDriveRoot(const AnsiString& dir) {
    const char drive = dir.Length() >= 3 ? dir[1] : '\0';
    const bool isLetter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    return isLetter && dir[2] == ':' && dir[3] == '\\' && dir.SubString(3, dir.Length()).Pos(":") == 0;
}

bool IsUncShare(const AnsiString& dir) {
    if (dir.SubString(1, 2) != AnsiString("\\\\") || dir.Pos(":") != 0) {
        return false;
    }
    const AnsiString afterServer = dir.SubString(3, dir.Length());
    const int serverEnd = afterServer.Pos("\\");
    const AnsiString afterShare = afterServer.SubString(serverEnd + 1, afterServer.Length());
    const int shareEnd = afterShare.Pos("\\");
    return serverEnd > 1 && shareEnd > 1;
}

AnsiString VariableFor64BitView(const AnsiString& name, const VariableTest& isDefined) {
    const AnsiString upper = name.UpperCase();
    if (upper == AnsiString("PROGRAMFILES") && isDefined("ProgramW6432")) {
        return "ProgramW6432";
    }
    if (upper == AnsiString("COMMONPROGRAMFILES") && isDefined("CommonProgramW6432")) {
        return "CommonProgramW6432";
    }
    return name;
}

bool IsDefinedVariable(const AnsiString& name) {
    return GetEnvironmentVariableA(name.c_str(), nullptr, 0) > 0;
}

AnsiString ExpandedVariables(const AnsiString& text) {
    // The size reported includes the terminating zero; a variable may change between the two
    // calls, so the expansion is repeated until the buffer was large enough.
    DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    for (int attempt = 0; size > 0 && attempt < 16; ++attempt) {
        std::vector<char> expanded(size + 1);
        const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size + 1);
        if (needed == 0) {
            break;
        }
        if (needed <= size + 1) {
            return AnsiString(expanded.data());
        }
        size = needed;
    }
    return text;
}

// The text of a value of the entry. Programs and Features expands a REG_EXPAND_SZ value before it
// uses it; one from the 64-bit view names the folders a 64-bit program sees. A failed read leaves
// the text empty, and empty text names no folder.
AnsiString ReadExpandedText(const AnsiString& key, const AnsiString& valueName, const EntryPlace& place) {
    AnsiString text;
    int unused = 0;
    DWORD type = REG_NONE;
    ReadRegistryValue(key, valueName, rkString, text, unused, place.root, &type, place.view);
    if (type != REG_EXPAND_SZ) {
        return text;
    }
    return ExpandedVariables(place.is64BitView ? With64BitFolderVariables(text, IsDefinedVariable) : text);
}

bool IsFolder(const AnsiString& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

AnsiString ProgramPathOf(const AnsiString& commandLine) {
    if (!commandLine.IsEmpty() && commandLine[1] == '"') {
        const AnsiString quoted = commandLine.SubString(2, commandLine.Length());
        const int closingQuote = quoted.Pos("\"");
        return closingQuote > 0 ? quoted.SubString(1, closingQuote - 1) : quoted;
    }
    // Positions in the upper-cased copy are positions in the command line: the length is kept.
    const AnsiString upper = commandLine.UpperCase();
    for (int from = 1;;) {
        const int found = upper.SubString(from, upper.Length()).Pos(".EXE");
        if (found == 0) {
            return commandLine;
        }
        const int afterExe = from + found - 1 + 4;
        if (EndsProgramName(commandLine, afterExe)) {
            return commandLine.SubString(1, afterExe - 1);
        }
        from += found;
    }
}

bool IsFullyQualifiedDirectory(const AnsiString& dir) {
    return !dir.IsEmpty() && dir[dir.Length()] == '\\' && (IsDriveRoot(dir) || IsUncShare(dir));
}

AnsiString InstallDirFromUninstallString(const AnsiString& commandLine) {
    const AnsiString dir = DirectoryPart(ProgramPathOf(commandLine));
    return IsFullyQualifiedDirectory(dir) ? dir : AnsiString();
}

AnsiString InstallDirFromInstallLocation(const AnsiString& location) {
    AnsiString dir = location;
    if (!dir.IsEmpty() && dir[1] == '"') {
        dir.Delete(1, 1);
    }
    if (!dir.IsEmpty() && dir[dir.Length()] == '"') {
        dir.Delete(dir.Length(), 1);
    }
    if (!dir.IsEmpty() && dir[dir.Length()] != '\\') {
        dir += "\\";
    }
    return IsFullyQualifiedDirectory(dir) ? dir : AnsiString();
}

AnsiString FirstInstallation(const std::vector<AnsiString>& candidates, const FolderTest& isFolder) {
    for (const AnsiString& dir : candidates) {
        if (IsFullyQualifiedDirectory(dir) && (isFolder(dir + "BIN\\") || isFolder(dir + "UDF\\"))) {
            return dir;
        }
    }
    return AnsiString();
}

AnsiString With64BitFolderVariables(const AnsiString& text, const VariableTest& isDefined) {
    AnsiString result;
    int position = 1;
    while (position <= text.Length()) {
        const AnsiString rest = text.SubString(position, text.Length());
        const int opening = rest.Pos("%");
        const int closing = opening == 0 ? 0 : rest.SubString(opening + 1, rest.Length()).Pos("%");
        if (closing == 0) {
            result += rest;
            break;
        }
        const AnsiString name = rest.SubString(opening + 1, closing - 1);
        result += rest.SubString(1, opening - 1) + "%" + VariableFor64BitView(name, isDefined) + "%";
        position += opening + closing;
    }
    return result;
}

AnsiString FindInstallDir(const AnsiString& productKey) {
    std::vector<AnsiString> candidates;
    for (const EntryPlace& place : entryPlaces) {
        const AnsiString key = uninstallKeys + productKey;
        candidates.push_back(InstallDirFromUninstallString(ReadExpandedText(key, "UninstallString", place)));
        candidates.push_back(InstallDirFromInstallLocation(ReadExpandedText(key, "InstallLocation", place)));
    }
    return FirstInstallation(candidates, IsFolder);
}
