#include "ui/qt/ProgramMain.h"

#include <cxxabi.h>

#include <QApplication>
#include <cstdlib>
#include <typeinfo>

#include "ui/qt/MessageBoxes.h"

namespace {

// The kind of an error, as its class name.
QString ErrorKind(const std::exception& error) {
    int status = 0;
    const char* mangled = typeid(error).name();
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return QString::fromUtf8(status == 0 && name ? name.get() : mangled);
}

}  // namespace

int RunProgram(const std::function<std::unique_ptr<QWidget>()>& createWindow) {
    std::unique_ptr<QWidget> window;
    try {
        window = createWindow();
    } catch (const std::exception& error) {
        // No message loop runs yet: the fatal box, not the error box.
        ShowFatalError(ErrorKind(error), QString::fromUtf8(error.what()),
                       reinterpret_cast<quintptr>(&RunProgram));
        return 1;
    }
    window->show();
    return QApplication::exec();
}
