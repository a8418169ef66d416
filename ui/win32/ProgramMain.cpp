#include "ui/win32/ProgramMain.h"

#include <windows.h>

#include "base/Unicode.h"
#include "ui/MessageTexts.h"
#include "ui/win32/MainU.h"
#include "ui/win32/MessageBoxes.h"

namespace {

// How the program was started: normal, maximised or minimised.
int StartShowCommand() {
    STARTUPINFOW start{};
    start.cb = sizeof start;
    GetStartupInfoW(&start);
    return (start.dwFlags & STARTF_USESHOWWINDOW) ? start.wShowWindow : SW_SHOWNORMAL;
}

}  // namespace

int RunProgram(const std::function<std::unique_ptr<TfrmMian>()>& createWindow) {
    std::unique_ptr<TfrmMian> window;
    try {
        window = createWindow();
    } catch (const std::exception& error) {
        // No message loop runs yet: the fatal box, not the error box.
        ShowFatalError(zelk::ui::ErrorKindName(error), zelk::base::Utf8ToUtf16(error.what()),
                       reinterpret_cast<std::uintptr_t>(&RunProgram));
        return 1;
    }
    window->Show(StartShowCommand());
    MSG message;
    int status = 0;
    while (const BOOL got = GetMessageW(&message, nullptr, 0, 0)) {
        if (got == -1) break;
        // Tab, Enter and the arrow keys move between the controls.
        if (IsDialogMessageW(window->Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (message.message == WM_QUIT) status = static_cast<int>(message.wParam);
    return status;
}
