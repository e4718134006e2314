#pragma once

#include "AnsiString.h"
#include "Handles.h"

#include <windows.h>

// Whether a folder may be written into, from what the system reports of it: its attributes asked
// through an open handle and asked by its path without the trailing backslash (Wine shows a Unix
// symlink as a reparse point by path only). Not opened, not a folder, or a link of any kind
// (junction, mount point, symbolic link): refused.
bool IsWritableFolder(bool opened, DWORD handleAttributes, DWORD pathAttributes);

// A target folder of the patch, held open while files are copied into it. The launcher runs as
// administrator and may write where a standard user can plant a link (a product outside Program
// Files): a link would send the files wherever it points. The handle is opened on the folder
// itself, not on what a link names, and without delete sharing, so that the folder cannot be
// renamed and swapped for a link once it has been checked.
class TargetFolder {
  public:
    // folder carries its trailing backslash.
    explicit TargetFolder(const AnsiString& folder);

    bool IsRefused() const { return refused_; }

  private:
    UniqueHandle handle_;
    bool refused_ = true;
};
