// A stand-in for the product's program that stays running after its installer has started it, as
// Corvadmin.exe does when a wizard's "Launch" box is ticked. It runs until the event
// "CorvaneKeepRunningStop" is set, and ends by itself after two minutes, so that a test that
// fails before ending it leaves nothing running for good.
#include "Handles.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const UniqueHandle stop(CreateEventA(nullptr, TRUE, FALSE, "CorvaneKeepRunningStop"));
    if (!stop.valid()) {
        return 1;
    }
    WaitForSingleObject(stop.get(), 2 * 60 * 1000);
    return 0;
}
