#include "ui/qt/ProgramMain.h"

#include <QApplication>

#include "ui/MessageTexts.h"
#include "ui/qt/MessageBoxes.h"
#include "ui/qt/Utf16Text.h"

int RunProgram(const std::function<std::unique_ptr<QWidget>()>& createWindow) {
    std::unique_ptr<QWidget> window;
    try {
        window = createWindow();
    } catch (const std::exception& error) {
        // No message loop runs yet: the fatal box, not the error box.
        ShowFatalError(FromUtf16(zelk::ui::ErrorKindName(error)), QString::fromUtf8(error.what()),
                       reinterpret_cast<quintptr>(&RunProgram));
        return 1;
    }
    window->show();
    return QApplication::exec();
}
