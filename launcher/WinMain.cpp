#include "Application.h"
#include "Exception.h"
#include "InstallAndPatch.h"

#include <exception>
#include <windows.h>

namespace {

// The last resort: whatever escapes the sequence is shown, and the run still ends in order.
ExitCode RunGuarded() {
    try {
        Application().Initialize();
        return InstallAndPatch();
    } catch (const Exception& error) {
        Application().ShowException(error.Message());
    } catch (const std::exception& error) {
        Application().ShowException(error.what());
    } catch (...) {
        Application().ShowException("Unexpected error");
    }
    return ExitCode::ErrorShown;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return static_cast<int>(RunGuarded());
}
