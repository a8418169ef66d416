#include "ui/qt/SessionEndWatcher.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

namespace {

int signalSockets[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
    const char byte = 1;
    const auto written = ::write(signalSockets[0], &byte, 1);
    (void)written;  // nothing else may be done inside a signal handler
}

}  // namespace

SessionEndWatcher::SessionEndWatcher(QObject* parent) : QObject(parent) {
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { emit saveRequested(); });

    if (signalSockets[0] == -1 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
        return;  // without the pair, signals end the program as they would anyway
    }
    notifier_ = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEndWatcher::readSignal);

    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

SessionEndWatcher::~SessionEndWatcher() {
    if (!notifier_) return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void SessionEndWatcher::readSignal() {
    char byte;
    if (::read(signalSockets[1], &byte, 1) == 1) emit terminationRequested();
}
