#include "ToolRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iostream>

#include "ConnectionSettings.h"
#include "OutputFiles.h"
#include "UserDatabase.h"

namespace zelk::tool {

namespace {

bool inputClosed = false;
bool outputClosed = false;
std::string_view runningTool = "zelk";

// Keeps descriptors 0 to 2 taken: a closed one gets /dev/null.
void HoldStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        if (fd == STDIN_FILENO) inputClosed = true;
        if (fd == STDOUT_FILENO) outputClosed = true;
        const int placeholder = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (placeholder != -1 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

}  // namespace

std::string_view ToolName() {
    return runningTool;
}

bool StandardInputClosed() {
    return inputClosed;
}

bool StandardOutputClosed() {
    return outputClosed;
}

int PrintToStandardOutput(std::string_view text) {
    try {
        WriteAll(stdout, text, "standard output");
        FinishOutput(stdout, "standard output");
    } catch (const std::exception& error) {
        std::cerr << runningTool << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}

std::string VersionText() {
    return std::string(runningTool) + " " + ZELK_VERSION + "\n";
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string DefaultDatabase(bool provision) {
    const std::optional<std::filesystem::path> shipped = ShippedDatabase(ExecutableDirectory());
    if (!shipped) return std::string(kDatabaseFileName);
    if (provision) return ProvisionUserDatabase(*shipped).path.string();
    return (UserDataDirectory() / kDatabaseFileName).string();
}

int RunTool(std::string_view toolName, int (*body)(int, char**), int argc, char** argv) {
    HoldStandardDescriptors();
    runningTool = toolName;
    try {
        return body(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << toolName << ": " << error.what() << "\nTry '" << toolName
                  << " --help' for more information.\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << toolName << ": " << error.what() << "\n";
        return 1;
    }
}

}  // namespace zelk::tool
