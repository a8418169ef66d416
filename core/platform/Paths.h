#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zelk::platform {

// Paths cross the program as UTF-8, whatever the system's own form: the
// command line, messages and the database engine all speak UTF-8.

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A path as messages name it: between single quotes.
inline std::string QuotedPath(const std::filesystem::path& path) {
    std::string quoted(1, '\'');
    quoted += PathText(path);
    quoted += '\'';
    return quoted;
}

}  // namespace zelk::platform
