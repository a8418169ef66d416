#pragma once

#include <filesystem>
#include <optional>

namespace zelk {

// The installed program keeps each user's dictionary in a folder of their
// own, and ships a default database to start it from.

// $XDG_DATA_HOME/zelk, or ~/.local/share/zelk. Raises std::runtime_error when
// there is no home directory to put it in.
std::filesystem::path UserDataDirectory();

// The folder of the running executable.
std::filesystem::path ExecutableDirectory();

// Where an installed executable in dir finds the data file name that the
// package ships: dir/../share/zelk/name, so the package's files work from
// wherever they are unpacked.
std::filesystem::path InstalledDataPath(const std::filesystem::path& executableDir,
                                        const std::filesystem::path& name);
// The shipped default database: InstalledDataPath of Zelk.dll.
std::filesystem::path ShippedDatabasePath(const std::filesystem::path& executableDir);
// That database, when it is there.
std::optional<std::filesystem::path> ShippedDatabase(const std::filesystem::path& executableDir);

struct ProvisionedDatabase {
    std::filesystem::path path;  // the user's Zelk.dll
    bool copied = false;         // it was copied from the shipped one just now
};

// Makes the user's data folder if needed and copies the shipped database
// there when the folder holds no Zelk.dll yet. An existing database is never
// replaced, even by a concurrent start. Raises std::runtime_error with a
// message that names the path and the reason.
ProvisionedDatabase ProvisionUserDatabase(const std::filesystem::path& shipped);

}  // namespace zelk
