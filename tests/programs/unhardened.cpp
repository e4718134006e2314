// What any program does that makes a window and shows a box without first restricting its DLL
// search: the control that shows a DLL planted beside it is loaded.
#include "Handles.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const UniqueWindow window(CreateWindowExA(0, "STATIC", "unhardened", WS_POPUP, 0, 0, 0, 0, nullptr,
                                              nullptr, instance, nullptr));
    MessageBoxA(window.get(), "a box", "unhardened", MB_OK | MB_ICONHAND);
    return 0;
}
