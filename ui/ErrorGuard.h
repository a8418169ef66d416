#pragma once

#include <exception>
#include <string>

// Raised to end a handler without a message (nothing in the program raises
// it today; the guard keeps it silent, as the message loop does).
class EAbort : public std::exception {
  public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

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
    } catch (const EAbort&) {
        return false;
    } catch (const std::exception& error) {
        ReportHandlerError(error);
    } catch (...) {
        ReportUnknownHandlerError();
    }
    return false;
}
