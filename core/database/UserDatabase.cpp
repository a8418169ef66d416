#include "database/UserDatabase.h"

#include <stdexcept>
#include <string>

#include "database/ConnectionSettings.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"

namespace zelk::db {

using platform::QuotedPath;

namespace {

// Copies from to a new file to, flushed to disk; gives the system's error.
std::error_code CopyToNewFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    platform::FileBytes bytes;
    if (const std::error_code error = platform::ReadRegularFile(from, bytes)) return error;
    std::error_code error;
    platform::NewFile copy(to, error);
    if (error) return error;
    const std::span<const std::byte> content = bytes.bytes();
    error = copy.Write({reinterpret_cast<const char*>(content.data()), content.size()});
    return error ? error : copy.Finish();
}

}  // namespace

std::filesystem::path ShippedDatabasePath(const std::filesystem::path& executableDir) {
    return platform::InstalledDataPath(executableDir, kDatabaseFileName);
}

std::optional<std::filesystem::path> ShippedDatabase(const std::filesystem::path& executableDir) {
    const std::filesystem::path shipped = ShippedDatabasePath(executableDir);
    std::error_code error;
    if (std::filesystem::is_regular_file(shipped, error)) return shipped;
    return std::nullopt;
}

ProvisionedDatabase ProvisionUserDatabase(const std::filesystem::path& shipped) {
    const std::filesystem::path directory = platform::UserDataDirectory();
    ProvisionedDatabase result{directory / kDatabaseFileName, false};
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        throw std::runtime_error("Cannot create the folder " + QuotedPath(directory) + ": " +
                                 error.message() + ".");
    }
    if (std::filesystem::exists(result.path, error)) return result;

    // Copy beside the target, then put it in place only where nothing is:
    // a Zelk.dll that appeared meanwhile is never overwritten, and a
    // half-written copy (a full disk) never takes the name.
    const std::filesystem::path prefix = directory / (std::string(kDatabaseFileName) + ".new-");
    platform::RemoveDeadTemporaries(prefix);
    const std::filesystem::path temporary = platform::TemporaryPath(prefix);
    std::error_code ignored;
    if (const std::error_code copyError = CopyToNewFile(shipped, temporary)) {
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("Cannot copy the default dictionary " + QuotedPath(shipped) +
                                 " to " + QuotedPath(directory) + ": " + copyError.message() +
                                 ".");
    }
    const std::error_code placed = platform::PlaceIfAbsent(temporary, result.path);
    std::filesystem::remove(temporary, ignored);
    if (placed && placed != std::errc::file_exists) {
        throw std::runtime_error("Cannot put the default dictionary in place as " +
                                 QuotedPath(result.path) + ": " + placed.message() + ".");
    }
    result.copied = !placed;
    return result;
}

}  // namespace zelk::db
