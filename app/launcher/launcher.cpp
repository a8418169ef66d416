// The installed launcher: prepares the user's data folder, copying the
// shipped default dictionary there when there is none, changes into it and
// starts the window program, which opens Zelk.dll in its current directory.
// Both the program and the shipped database are found relative to the
// launcher itself: <dir>/../lib/zelk/zelk and <dir>/../share/zelk/Zelk.dll.

#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "app/InformationRequest.h"
#include "database/UserDatabase.h"
#include "platform/Folders.h"
#include "platform/Paths.h"

namespace {

// Reports a failure on standard error and, when started from a desktop (no
// terminal to read standard error), in a message box.
int Fail(int argc, char** argv, const std::string& message) {
    std::cerr << "zelk: " << message << std::endl;
    const bool desktop =
        !isatty(STDERR_FILENO) && (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"));
    if (desktop) {
        QApplication application(argc, argv);
        QMessageBox::critical(nullptr, QStringLiteral("澄墨 - 拆字工具"),
                              QString::fromStdString(message));
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = AnswerInformationRequest(argc, argv)) return *status;
    try {
        const std::filesystem::path dir = zelk::platform::ExecutableDirectory();
        const std::filesystem::path program =
            (dir / ".." / "lib" / "zelk" / "zelk").lexically_normal();
        const std::optional<std::filesystem::path> shipped = zelk::db::ShippedDatabase(dir);
        if (!shipped) {
            throw std::runtime_error("The default dictionary is missing from the installation (" +
                                     zelk::platform::PathText(zelk::db::ShippedDatabasePath(dir)) + ").");
        }
        const zelk::db::ProvisionedDatabase database = zelk::db::ProvisionUserDatabase(*shipped);
        if (::chdir(database.path.parent_path().c_str()) != 0) {
            throw std::runtime_error("Cannot change into '" + database.path.parent_path().string() +
                                     "': " + std::strerror(errno) + ".");
        }
        if (::geteuid() == 0 && !std::getenv("QTWEBENGINE_DISABLE_SANDBOX")) {
            // The web panel's engine will not run its sandbox as root.
            std::cerr << "zelk: warning: running as root, the web panel runs without its sandbox"
                      << std::endl;
            ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
        }
        char* arguments[] = {const_cast<char*>(program.c_str()), nullptr};
        ::execv(program.c_str(), arguments);
        throw std::runtime_error("Cannot start '" + program.string() +
                                 "': " + std::strerror(errno) + ".");
    } catch (const std::exception& error) {
        return Fail(argc, argv, error.what());
    }
}
