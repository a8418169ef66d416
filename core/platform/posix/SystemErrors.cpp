#include "platform/SystemErrors.h"

#include <cstring>

namespace zelk::platform {

std::string SystemErrorText(int code) {
    return std::strerror(code);
}

}  // namespace zelk::platform
