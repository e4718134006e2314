#include "RunAndWait.h"

#include "ErrorBox.h"
#include "Handles.h"
#include "WideText.h"

#include <vector>

namespace {

// "Липсващ файл" and "Грешка %d при опит за стартиране на", in code page 1251.
constexpr char missingFileHeadline[] = "\xCB\xE8\xEF\xF1\xE2\xE0\xF9 \xF4\xE0\xE9\xEB";
constexpr char errorHeadlineBefore[] = "\xC3\xF0\xE5\xF8\xEA\xE0 ";
constexpr char errorHeadlineAfter[] = " \xEF\xF0\xE8 \xEE\xEF\xE8\xF2 \xE7\xE0 "
                                      "\xF1\xF2\xE0\xF0\xF2\xE8\xF0\xE0\xED\xE5 \xED\xE0";

// Only the box shortens a very long command line; the process always gets it whole.
constexpr int longestShownCommandLine = 1023;

std::string StartFailureHeadline(DWORD errorCode) {
    if (errorCode == ERROR_FILE_NOT_FOUND) {
        return missingFileHeadline;
    }
    return errorHeadlineBefore + std::to_string(errorCode) + errorHeadlineAfter;
}

AnsiString ShownCommandLine(const AnsiString& commandLine) {
    if (commandLine.Length() <= longestShownCommandLine) {
        return commandLine;
    }
    return commandLine.SubString(1, longestShownCommandLine) + "...";
}

// Drains this thread's queue, dispatching what it holds; PeekMessage also answers the messages that
// other threads send. Gives whether a WM_QUIT was taken out, and its code.
bool DispatchQueuedMessages(WPARAM& quitCode) {
    bool quitTaken = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitTaken = true;
            quitCode = message.wParam;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return quitTaken;
}

// Waits until the process has ended while answering every message sent to this thread's windows:
// a broadcast (WM_SETTINGCHANGE, a DDE initiate) waits for every top-level window to answer, and an
// installer that sends one would otherwise wait for the launcher that waits for it. A WM_QUIT taken
// out on the way is posted again afterwards, so that nothing later loses it.
void WaitAnsweringMessages(HANDLE process) {
    bool quitTaken = false;
    WPARAM quitCode = 0;
    for (;;) {
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 + 1) {
            quitTaken = DispatchQueuedMessages(quitCode) || quitTaken;
            continue;
        }
        if (woken == WAIT_FAILED) {
            WaitForSingleObject(process, INFINITE);
        }
        break;
    }
    if (quitTaken) {
        PostQuitMessage(static_cast<int>(quitCode));
    }
}

} // namespace

std::wstring StartFailureMessage(DWORD errorCode, const AnsiString& commandLine) {
    return StartFailureMessage(errorCode, WideFromAnsi(ShownCommandLine(commandLine)));
}

std::wstring StartFailureMessage(DWORD errorCode, const std::wstring& commandLine) {
    return WideFromCodePage(bulgarianCodePage, StartFailureHeadline(errorCode)) + L"\r\n" + commandLine;
}

bool RunAndWait(const AnsiString& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    // CreateProcessA may write into the command line, so it gets a copy of its own, sized to it.
    std::vector<char> writableCommandLine(commandLine.c_str(),
                                          commandLine.c_str() + commandLine.Length() + 1);

    if (!CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &created)) {
        const DWORD errorCode = GetLastError();
        ShowErrorBox(StartFailureMessage(errorCode, commandLine));
        return false;
    }
    const UniqueHandle process(created.hProcess);
    const UniqueHandle thread(created.hThread);
    WaitAnsweringMessages(process.get());
    return true;
}
