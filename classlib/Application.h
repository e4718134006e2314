#pragma once

#include "AnsiString.h"
#include "Handles.h"

#include <windows.h>

// The application object: a hidden application window whose caption is the application title,
// the executable's path, and the box that shows an exception that reached the top. The window is
// made when first needed (a box's caption or owner), never at start-up: a window whose thread sits
// in a wait would stall every broadcast that another program sends to all top-level windows.
class TApplication {
  public:
    TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Runs the registered initialisation hook, if any; the launcher registers none.
    void Initialize();

    AnsiString ExeName() const;
    // The caption of every box the application shows, as the application window carries it.
    AnsiString Title() const;
    // The application window, made on first use.
    HWND Handle() const;
    // Whether the window exists yet; asking does not make it.
    bool HasWindow() const { return window_.valid(); }

    // Shows message in the error box owned by the application window; a period is appended when
    // the message ends in a character that sorts after '.'.
    void ShowException(const AnsiString& message) const noexcept;

    using InitProc = void (*)();
    static void SetInitProc(InitProc proc);

  private:
    mutable UniqueWindow window_;
};

// The one application object, made on first use, as the platform's start-up would make it.
TApplication& Application();

// The default title: the executable's name, OEM to ANSI, without its folder and extension, with
// every character after the first lower-cased.
AnsiString DefaultTitleFromPath(const AnsiString& exePath);

// The text of the exception box: the message, with "." appended when its last character compares
// (as an unsigned byte) greater than '.'.
AnsiString ExceptionBoxText(const AnsiString& message);
