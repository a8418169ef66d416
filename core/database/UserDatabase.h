#pragma once

#include <filesystem>
#include <optional>

namespace zelk::db {

// The installed program keeps each user's dictionary in a folder of their
// own (platform::UserDataDirectory), and ships a default database to start
// it from.

// The shipped default database: the installed data file Zelk.dll.
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

}  // namespace zelk::db
