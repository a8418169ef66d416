#include "UserDatabase.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "ConnectionSettings.h"
#include "DatabaseErrors.h"
#include "TemporaryFiles.h"

namespace zelk {

namespace {

std::filesystem::path HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir) {
        return entry->pw_dir;
    }
    throw std::runtime_error(
        "There is no home directory to keep the dictionary in: set HOME or XDG_DATA_HOME.");
}

// Copies from to a new file to, readable and writable by its owner, flushed
// to disk; gives 0 or the system's error number of the step that failed.
int CopyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in == -1) return errno;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out == -1) {
        const int error = errno;
        ::close(in);
        return error;
    }
    int error = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t count = ::read(in, buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            error = errno;
            break;
        }
        for (ssize_t done = 0; done < count;) {
            const ssize_t written = ::write(out, buffer + done, static_cast<size_t>(count - done));
            if (written < 0) {
                error = errno;
                break;
            }
            done += written;
        }
        if (error != 0) break;
    }
    if (error == 0 && ::fsync(out) != 0) error = errno;
    if (::close(out) != 0 && error == 0) error = errno;
    ::close(in);
    return error;
}

}  // namespace

std::filesystem::path UserDataDirectory() {
    // The XDG rule: a relative XDG_DATA_HOME is invalid and ignored.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        return std::filesystem::path(data) / "zelk";
    }
    return HomeDirectory() / ".local" / "share" / "zelk";
}

std::filesystem::path ExecutableDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) throw std::runtime_error("Cannot find the program's own folder: " + error.message());
    return self.parent_path();
}

std::filesystem::path InstalledDataPath(const std::filesystem::path& executableDir,
                                        const std::filesystem::path& name) {
    return (executableDir / ".." / "share" / "zelk" / name).lexically_normal();
}

std::filesystem::path ShippedDatabasePath(const std::filesystem::path& executableDir) {
    return InstalledDataPath(executableDir, kDatabaseFileName);
}

std::optional<std::filesystem::path> ShippedDatabase(const std::filesystem::path& executableDir) {
    const std::filesystem::path shipped = ShippedDatabasePath(executableDir);
    std::error_code error;
    if (std::filesystem::is_regular_file(shipped, error)) return shipped;
    return std::nullopt;
}

ProvisionedDatabase ProvisionUserDatabase(const std::filesystem::path& shipped) {
    const std::filesystem::path directory = UserDataDirectory();
    ProvisionedDatabase result{directory / kDatabaseFileName, false};
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        throw std::runtime_error("Cannot create the folder " + QuotedPath(directory) + ": " +
                                 error.message() + ".");
    }
    if (std::filesystem::exists(result.path, error)) return result;

    // Copy beside the target, then link it into place: the link fails if a
    // Zelk.dll appeared meanwhile, so nothing is ever overwritten, and a
    // half-written copy (a full disk) never takes the name.
    const std::filesystem::path prefix = directory / (std::string(kDatabaseFileName) + ".new-");
    RemoveDeadTemporaries(prefix);
    const std::filesystem::path temporary = TemporaryPath(prefix);
    std::error_code ignored;
    if (const int copyError = CopyFile(shipped, temporary); copyError != 0) {
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("Cannot copy the default dictionary " + QuotedPath(shipped) +
                                 " to " + QuotedPath(directory) + ": " + std::strerror(copyError) +
                                 ".");
    }
    const int linked = ::link(temporary.c_str(), result.path.c_str());
    const int linkError = errno;
    std::filesystem::remove(temporary, ignored);
    if (linked != 0 && linkError != EEXIST) {
        throw std::runtime_error("Cannot put the default dictionary in place as " +
                                 QuotedPath(result.path) + ": " + std::strerror(linkError) + ".");
    }
    result.copied = linked == 0;
    return result;
}

}  // namespace zelk
