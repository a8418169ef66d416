// The program: one window, run until it is closed.

#include <QApplication>
#include <QIcon>

#include "MainU.h"
#include "ProgramMain.h"

int main(int argc, char** argv) {
    // The web panel shares its graphics context with the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QIcon icon(QStringLiteral(":/icons/zelk-32.png"));
    icon.addFile(QStringLiteral(":/icons/zelk-256.png"));
    QApplication::setWindowIcon(icon);
    return RunProgram([] { return std::make_unique<TfrmMian>(); });
}
