// The program: one window, run until it is closed.

#include <cxxabi.h>

#include <QApplication>
#include <QIcon>
#include <memory>
#include <typeinfo>

#include "MainU.h"
#include "MessageBoxes.h"

namespace {

// The kind of an error, as its class name.
QString ErrorKind(const std::exception& error) {
    int status = 0;
    const char* mangled = typeid(error).name();
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return QString::fromUtf8(status == 0 && name ? name.get() : mangled);
}

std::unique_ptr<TfrmMian> CreateMainWindow() {
    return std::make_unique<TfrmMian>();
}

}  // namespace

int main(int argc, char** argv) {
    // The web panel shares its graphics context with the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QIcon icon(QStringLiteral(":/icons/zelk-32.png"));
    icon.addFile(QStringLiteral(":/icons/zelk-256.png"));
    QApplication::setWindowIcon(icon);
    std::unique_ptr<TfrmMian> frmMian;
    try {
        frmMian = CreateMainWindow();
    } catch (const std::exception& error) {
        // The window could not be built: no message loop, no error box.
        ShowFatalError(ErrorKind(error), QString::fromUtf8(error.what()),
                       reinterpret_cast<quintptr>(&CreateMainWindow));
        return 1;
    }
    frmMian->show();
    return application.exec();
}
