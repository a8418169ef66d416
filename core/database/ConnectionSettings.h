#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelk::db {

inline constexpr std::string_view kDatabaseFileName = "Zelk.dll";
inline constexpr std::string_view kDatabasePassword = "Wx#7305";

// The connection string of the dictionary database: five attributes, in this
// order, name=value separated by semicolons. Only the data source varies (the
// command-line tools may name another file); the window always uses Zelk.dll.
std::string BuildConnectionString(std::string_view dataSource = kDatabaseFileName);

// The value of one attribute of a connection string (names compare without
// regard to ASCII case); a value in double quotes is unquoted. Nothing when the
// attribute is absent.
std::optional<std::string> ConnectionAttribute(std::string_view connectionString,
                                               std::string_view name);

}  // namespace zelk::db
