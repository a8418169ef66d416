#pragma once

#include <exception>

// Shows the error box for an exception that ended a handler.
void ReportHandlerError(const std::exception& error);
void ReportUnknownHandlerError();

// Every handler is entered from Qt through this guard: what the handler raises
// is shown in the error box and goes no further, so that no exception unwinds
// through Qt's frames. Returns false when the handler ended with an error.
template <typename Handler>
bool Guarded(Handler&& handler) noexcept {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        ReportHandlerError(error);
    } catch (...) {
        ReportUnknownHandlerError();
    }
    return false;
}
