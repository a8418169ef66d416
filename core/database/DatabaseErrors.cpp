#include "database/DatabaseErrors.h"

namespace zelk::db {

namespace {
std::string Prefixed(std::string_view cursorName, std::string_view message) {
    std::string text(cursorName);
    text += ": ";
    text += message;
    return text;
}
}  // namespace

EDatabaseError::EDatabaseError(std::string_view cursorName, std::string_view message)
    : std::runtime_error(Prefixed(cursorName, message)) {}

EEngineError::EEngineError(const std::string& message, int code)
    : std::runtime_error(message), code_(code) {}

std::string FieldNotFoundMessage(std::string_view field) {
    return "Field '" + std::string(field) + "' not found";
}

}  // namespace zelk::db
