#include "platform/Folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace zelk::platform {

namespace {

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

std::filesystem::path InstalledDataPath(const std::filesystem::path& executableDir,
                                        const std::filesystem::path& name) {
    return (executableDir / ".." / "share" / "zelk" / name).lexically_normal();
}

std::string UserDatabaseText() {
    return "~/.local/share/zelk/Zelk.dll";
}

std::filesystem::path ExecutableDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) throw std::runtime_error("Cannot find the program's own folder: " + error.message());
    return self.parent_path();
}

}  // namespace zelk::platform
