#include "tools/ToolRun.h"

#include <filesystem>
#include <iostream>

#include "database/ConnectionSettings.h"
#include "database/UserDatabase.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "tools/OutputFiles.h"
#include "tools/ToolStreams.h"

namespace zelk::tool {

int PrintToStandardOutput(std::string_view text) {
    WriteAll(stdout, text, "standard output");
    FinishOutput(stdout, "standard output");
    return 0;
}

std::string VersionText() {
    return std::string(ToolName()) + " " + ZELK_VERSION + "\n";
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string HelpText(std::string_view text) {
    std::string help(text);
    constexpr std::string_view kPlaceholder = "$USER_DATABASE";
    if (const auto at = help.find(kPlaceholder); at != std::string::npos)
        help.replace(at, kPlaceholder.size(), platform::UserDatabaseText());
    return help;
}

std::string DefaultDatabase(bool provision) {
    const std::optional<std::filesystem::path> shipped =
        db::ShippedDatabase(platform::ExecutableDirectory());
    if (!shipped) return std::string(db::kDatabaseFileName);
    if (provision) return platform::PathText(db::ProvisionUserDatabase(*shipped).path);
    return platform::PathText(platform::UserDataDirectory() / db::kDatabaseFileName);
}

int RunTool(std::string_view toolName, int (*body)(int, char**), int argc, char** argv) {
    PrepareToolStreams(toolName);
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
