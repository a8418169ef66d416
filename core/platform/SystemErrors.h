#pragma once

#include <string>

namespace zelk::platform {

// The words for an error number of the system's own calls, as the database
// engine reports them (sqlite3_system_errno): an errno on Linux, a Windows
// error code on Windows.
std::string SystemErrorText(int code);

}  // namespace zelk::platform
