// Start-up to a visible window, with or without the web panel. Prints the
// wall-clock time (ns since the epoch) at which the window was exposed, for
// startup_bench.sh to subtract from the time it launched the process.
//
//   startup_bench panel|none      (run in a folder holding Zelk.dll)

#include <time.h>

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstring>

#include "ui/qt/MainU.h"

int main(int argc, char** argv) {
    const bool withPanel = argc < 2 || std::strcmp(argv[1], "none") != 0;
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    // A loopback port where nothing listens: the panel starts its engine and
    // its navigation as in the program, without leaving the machine.
    TfrmMian window(nullptr,
                    {QUrl(QStringLiteral("http://127.0.0.1:9/qvx/tools/zelk/")), withPanel});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    return 0;
}
