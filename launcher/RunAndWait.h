#pragma once

#include "AnsiString.h"

#include <string>
#include <windows.h>

// Starts commandLine as a new process, unchanged (no quotes added), and waits until that process
// alone has ended: true. While it waits it answers the messages sent to the thread's windows. When the
// process cannot be created, shows why in the error box and gives false once the box is closed.
bool RunAndWait(const AnsiString& commandLine);

// The text of the box for a process that could not be created with the given system error code:
// the Bulgarian headline (held in code page 1251) and the command line on the next line.
std::wstring StartFailureMessage(DWORD errorCode, const AnsiString& commandLine);
// The same for a command line that only Unicode can write, shown as given.
std::wstring StartFailureMessage(DWORD errorCode, const std::wstring& commandLine);
