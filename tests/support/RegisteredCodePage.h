#pragma once

#include <windows.h>

// The ANSI code page that Wine derives from the Unix locale this test run was registered with
// (LC_ALL): 1251 for bg_BG, 932 for ja_JP, 1252 otherwise. A locale that was never generated
// silently falls back to 1252, so each code-page run compares this with GetACP() first.
UINT RegisteredCodePage();
