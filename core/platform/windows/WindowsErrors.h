#pragma once

#include <windows.h>

#include <system_error>

namespace zelk::platform {

// The system's last error as an error code. The errors the program tells
// apart (a file that is missing, one that exists already, no permission)
// become the portable codes, which read as they do on every system; any
// other keeps the system's own code and words.
inline std::error_code WindowsError(DWORD code = GetLastError()) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return std::make_error_code(std::errc::no_such_file_or_directory);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return std::make_error_code(std::errc::file_exists);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return std::make_error_code(std::errc::permission_denied);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::make_error_code(std::errc::no_space_on_device);
        case ERROR_DIRECTORY:
            return std::make_error_code(std::errc::is_a_directory);
        case ERROR_TOO_MANY_OPEN_FILES:
            return std::make_error_code(std::errc::too_many_files_open);
        default:
            return {static_cast<int>(code), std::system_category()};
    }
}

}  // namespace zelk::platform
