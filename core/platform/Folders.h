#pragma once

#include <filesystem>
#include <string>

namespace zelk::platform {

// Where the installed program keeps each user's data: $XDG_DATA_HOME/zelk
// or ~/.local/share/zelk on Linux. Raises std::runtime_error when there is
// no home to put it in.
std::filesystem::path UserDataDirectory();

// The user's Zelk.dll as the help texts name it: the path with the
// system's own shorthand for the folder (~/.local/share/zelk/Zelk.dll,
// %LOCALAPPDATA%\zelk\Zelk.dll).
std::string UserDatabaseText();

// The folder of the running executable.
std::filesystem::path ExecutableDirectory();

// Where an installed executable in executableDir finds the data file name
// that the package ships: executableDir/../share/zelk/name on Linux, so
// that the package's files work from wherever they are unpacked.
std::filesystem::path InstalledDataPath(const std::filesystem::path& executableDir,
                                        const std::filesystem::path& name);

}  // namespace zelk::platform
