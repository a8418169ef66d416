#include "platform/Folders.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace zelk::platform {

std::filesystem::path UserDataDirectory() {
    // Each user's own, kept on this machine: %LOCALAPPDATA%\zelk.
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local) {
        return std::filesystem::path(local) / L"zelk";
    }
    if (const wchar_t* profile = _wgetenv(L"USERPROFILE"); profile && *profile) {
        return std::filesystem::path(profile) / L"AppData" / L"Local" / L"zelk";
    }
    throw std::runtime_error(
        "There is no folder to keep the dictionary in: set LOCALAPPDATA or USERPROFILE.");
}

std::string UserDatabaseText() {
    return "%LOCALAPPDATA%\\zelk\\Zelk.dll";
}

std::filesystem::path ExecutableDirectory() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) throw std::runtime_error("Cannot find the program's own folder.");
        if (length < name.size())
            return std::filesystem::path(std::wstring(name.data(), length)).parent_path();
        name.resize(name.size() * 2);
    }
}

std::filesystem::path InstalledDataPath(const std::filesystem::path& executableDir,
                                        const std::filesystem::path& name) {
    // On Windows the data files lie beside the programs.
    return (executableDir / name).lexically_normal();
}

}  // namespace zelk::platform
