#include "platform/Files.h"

#include <windows.h>

#include "platform/windows/WindowsErrors.h"

// windows.h names ReplaceFileW so; the program's own function is meant here.
#undef ReplaceFile

namespace zelk::platform {

namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

NewFile::NewFile(const std::filesystem::path& path, std::error_code& error) : path_(path) {
    // Others may read it, and rename or delete it, as on other systems.
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    error = handle == INVALID_HANDLE_VALUE ? WindowsError() : std::error_code();
}

NewFile::~NewFile() {
    if (AsHandle(handle_) == INVALID_HANDLE_VALUE || finished_) return;
    CloseHandle(AsHandle(handle_));
    DeleteFileW(path_.c_str());
}

void NewFile::TakePermissionsOf(const std::filesystem::path&) {
    // A new file takes its folder's permissions, as the file it replaces did.
}

std::error_code NewFile::Write(std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_), bytes.data() + done, part, &written, nullptr))
            return WindowsError();
        done += written;
    }
    return {};
}

std::error_code NewFile::Finish() {
    if (!FlushFileBuffers(AsHandle(handle_))) return WindowsError();
    finished_ = true;
    if (!CloseHandle(AsHandle(handle_))) {
        const std::error_code error = WindowsError();
        handle_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
        DeleteFileW(path_.c_str());
        return error;
    }
    return {};
}

std::error_code ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    // Replaces a file that is open too, where its opener shares deletion.
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return WindowsError();
    return {};
}

bool OpenFilesCanBeReplaced() {
    return false;  // the database engine opens its files without FILE_SHARE_DELETE
}

std::error_code PlaceIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to) {
    // Without MOVEFILE_REPLACE_EXISTING a move fails where a file is.
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return WindowsError();
    return {};
}

bool CanCreateFilesIn(const std::filesystem::path& folder) {
    // The folder's permissions are the system's to judge: try.
    const std::filesystem::path probe =
        folder / (L".zelk-probe-" + std::to_wstring(GetCurrentProcessId()));
    const HANDLE handle =
        CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(handle);
    return true;
}

std::FILE* OpenForReading(const std::filesystem::path& path, std::error_code& error) {
    if (IsFolder(path)) {
        error = std::make_error_code(std::errc::is_a_directory);
        return nullptr;
    }
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    error = file ? std::error_code() : std::error_code(errno, std::generic_category());
    return file;
}

std::error_code ReadRegularFile(const std::filesystem::path& path, FileBytes& out) {
    if (IsFolder(path)) return std::make_error_code(std::errc::is_a_directory);
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return WindowsError();
    std::error_code error;
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        error = std::make_error_code(std::errc::not_supported);  // a pipe, a device
    } else if (!GetFileSizeEx(handle, &size)) {
        error = WindowsError();
    } else {
        out.assign(static_cast<std::size_t>(size.QuadPart));
        const std::span<std::byte> bytes = out.writable();
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD part =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
            DWORD count = 0;
            if (!ReadFile(handle, bytes.data() + done, part, &count, nullptr)) {
                error = WindowsError();
                break;
            }
            if (count == 0) break;  // cut short since it was measured
            done += count;
        }
        out.shorten(done);
    }
    CloseHandle(handle);
    return error;
}

}  // namespace zelk::platform
