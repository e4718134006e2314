#include "FindInstallDir.h"

#include "PathText.h"
#include "ReadRegistryValue.h"

#include <windows.h>

namespace {

constexpr char uninstallKeys[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

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

AnsiString FindInstallDir(const AnsiString& productKey) {
    AnsiString commandLine;
    int unused = 0;
    // A failed read leaves the command line empty, and empty text has no directory in it.
    ReadRegistryValue(uninstallKeys + productKey, "UninstallString", rkString, commandLine, unused,
                      HKEY_LOCAL_MACHINE);
    return InstallDirFromUninstallString(commandLine);
}
