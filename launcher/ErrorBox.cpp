#include "ErrorBox.h"

#include "Application.h"
#include "WideText.h"

#include <windows.h>

void ShowErrorBox(const std::wstring& text) {
    const std::wstring caption = WideFromAnsi(Application().Title());
    MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONHAND);
}
