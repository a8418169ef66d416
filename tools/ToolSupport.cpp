#include "ToolSupport.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "ConnectionSettings.h"
#include "UserDatabase.h"

namespace zelk::tool {

std::string ReadWholeFile(const std::string& path) {
    if (path == "-") {
        std::ostringstream content;
        content << std::cin.rdbuf();
        if (std::cin.bad()) throw std::runtime_error("cannot read standard input");
        return content.str();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open '" + path + "': " + std::strerror(errno));
    std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) throw std::runtime_error("cannot read '" + path + "'");
    return content;
}

void WriteAll(std::FILE* stream, std::string_view text, const std::string& name) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stream) != text.size()) {
        throw std::runtime_error("cannot write " + name + ": " + std::strerror(errno));
    }
}

void FinishOutput(std::FILE* stream, const std::string& name) {
    const bool flushed = std::fflush(stream) == 0;
    const int error = errno;
    const bool closed = std::fclose(stream) == 0;
    if (!flushed || !closed) {
        throw std::runtime_error("cannot write " + name + ": " +
                                 std::strerror(flushed ? errno : error));
    }
}

std::string DefaultDatabase(bool provision) {
    const std::optional<std::filesystem::path> shipped = ShippedDatabase(ExecutableDirectory());
    if (!shipped) return std::string(kDatabaseFileName);
    if (provision) return ProvisionUserDatabase(*shipped).path.string();
    return (UserDataDirectory() / kDatabaseFileName).string();
}

int RunTool(std::string_view toolName, std::string_view usage, int (*body)(int, char**), int argc,
            char** argv) {
    try {
        return body(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << toolName << ": " << error.what() << "\n" << usage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << toolName << ": " << error.what() << "\n";
        return 1;
    }
}

}  // namespace zelk::tool
