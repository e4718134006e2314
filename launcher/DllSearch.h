#pragma once

#include <windows.h>

// How the launcher keeps Windows from loading a DLL planted beside it or in the working folder.
enum class DllSearchHardening {
    RestrictedToSystem32, // every later load searches System32 alone
    SystemDllsPreloaded,  // no SetDefaultDllDirectories: the on-demand DLLs were loaded from System32
};

// Finds an export of kernel32; GetProcAddress unless a test puts in its own.
using KernelExportLookup = FARPROC (*)(const char* name);

// The launcher's first act: restrict the DLL search to System32 and take the current folder out
// of it. Windows 7 without update KB2533623 lacks SetDefaultDllDirectories; there the DLLs that
// windows and boxes load on demand are loaded from System32 by full path instead, so that the later
// on-demand load finds them already loaded.
DllSearchHardening RestrictDllSearchToSystem32(KernelExportLookup lookup = nullptr);

// The DLLs that making a window or showing a box loads on demand and that are no KnownDLLs.
constexpr const char* onDemandSystemDlls[] = {"uxtheme.dll", "dwmapi.dll"};
