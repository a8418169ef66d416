// The program on Windows: one window, run until it is closed. Started from
// an installation (the shipped Zelk.dll beside the program), it works in
// the user's own folder, %LOCALAPPDATA%\zelk, where the shipped database is
// copied at the first start and never overwritten afterwards; started from
// a build, in the folder it was started in.

#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <ole2.h>

#include <stdexcept>

#include "app/InformationRequest.h"
#include "base/Unicode.h"
#include "database/UserDatabase.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "ui/MainForm.h"
#include "ui/win32/MainU.h"
#include "ui/win32/ProgramMain.h"
#include "ui/win32/Utf16Text.h"

namespace {

void EnterUserFolder() {
    const std::optional<std::filesystem::path> shipped =
        zelk::db::ShippedDatabase(zelk::platform::ExecutableDirectory());
    if (!shipped) return;
    const zelk::db::ProvisionedDatabase database = zelk::db::ProvisionUserDatabase(*shipped);
    if (!SetCurrentDirectoryW(database.path.parent_path().c_str())) {
        throw std::runtime_error("Cannot change into " +
                                 zelk::platform::QuotedPath(database.path.parent_path()) + ".");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = AnswerInformationRequest(argc, argv)) return *status;
    try {
        EnterUserFolder();
    } catch (const std::exception& error) {
        MessageBoxW(nullptr, ToWide(zelk::base::Utf8ToUtf16(error.what())).c_str(),
                    L"澄墨 - 拆字工具", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
        return 1;
    }
    // The browser control and the clipboard need OLE on this thread.
    if (FAILED(OleInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const int status = RunProgram([] { return std::make_unique<TfrmMian>(); });
    OleUninitialize();
    return status;
}
