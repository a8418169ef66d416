#include "UserDatabase.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "ConnectionSettings.h"

namespace zelk {

namespace {

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

std::filesystem::path HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir) {
        return entry->pw_dir;
    }
    throw std::runtime_error(
        "There is no home directory to keep the dictionary in: set HOME or XDG_DATA_HOME.");
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

std::filesystem::path ShippedDatabasePath(const std::filesystem::path& executableDir) {
    return (executableDir / ".." / "share" / "zelk" / kDatabaseFileName).lexically_normal();
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
        throw std::runtime_error("Cannot create the folder " + Quoted(directory) + ": " +
                                 error.message() + ".");
    }
    if (std::filesystem::exists(result.path, error)) return result;

    // Copy beside the target, then link it into place: the link fails if a
    // Zelk.dll appeared meanwhile, so nothing is ever overwritten, and a
    // half-written copy (a full disk) never takes the name.
    const std::filesystem::path temporary =
        directory / (std::string(kDatabaseFileName) + ".new-" + std::to_string(::getpid()));
    std::filesystem::copy_file(shipped, temporary,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw std::runtime_error("Cannot copy the default dictionary " + Quoted(shipped) + " to " +
                                 Quoted(directory) + ": " + error.message() + ".");
    }
    std::filesystem::permissions(
        temporary, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
        std::filesystem::perm_options::add, error);
    const int linked = ::link(temporary.c_str(), result.path.c_str());
    const int linkError = errno;
    std::filesystem::remove(temporary, error);
    if (linked != 0 && linkError != EEXIST) {
        throw std::runtime_error("Cannot put the default dictionary in place as " +
                                 Quoted(result.path) + ": " + std::strerror(linkError) + ".");
    }
    result.copied = linked == 0;
    return result;
}

}  // namespace zelk
