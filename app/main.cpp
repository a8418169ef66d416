// The program: one window, run until it is closed.

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>

#include "ui/qt/ChineseLocale.h"
#include "app/InformationRequest.h"
#include "ui/qt/MainU.h"
#include "ui/qt/ProgramMain.h"

int main(int argc, char** argv) {
    if (const auto status = AnswerInformationRequest(argc, argv)) return *status;
    // The web panel shares its graphics context with the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The web engine's start-up report is for its developers, not the terminal.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication application(argc, argv);
    UseSimplifiedChinese();
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zelk-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    return RunProgram([] { return std::make_unique<TfrmMian>(); });
}
