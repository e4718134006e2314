// Announces a changed environment to every top-level window the way installers do at their end,
// with SendMessage and no time limit: it returns only when every window has answered.
#include <windows.h>

int main() {
    static char environment[] = "Environment";
    SendMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(environment));
    return 0;
}
