#include "platform/SystemErrors.h"

#include "platform/windows/WindowsErrors.h"

namespace zelk::platform {

std::string SystemErrorText(int code) {
    return WindowsError(static_cast<DWORD>(code)).message();
}

}  // namespace zelk::platform
