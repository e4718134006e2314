#include "Guard.h"

#include "Application.h"
#include "Exception.h"

#include <exception>

ExitCode RunGuarded(ExitCode (*sequence)()) {
    try {
        Application().Initialize();
        return sequence();
    } catch (const Exception& error) {
        Application().ShowException(error.Message());
    } catch (const std::exception& error) {
        Application().ShowException(error.what());
    } catch (...) {
        Application().ShowException("Unexpected error");
    }
    return ExitCode::ErrorShown;
}
