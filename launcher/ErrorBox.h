#pragma once

#include <string>

// The launcher's own error box: error icon, one OK button, captioned with the application title,
// owned by the thread's active window. Shown through the Unicode box so that text converted from
// any code page reads the same on every system.
void ShowErrorBox(const std::wstring& text);
