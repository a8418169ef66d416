#include "ui/qt/BusyCursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

void BusyCursor::CheckClock() {
    if (clock_.elapsed() < kDelayMs) return;
    shown_ = true;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Let the window system see the new cursor now; no input is handled
    // while the command runs.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyCursor::~BusyCursor() {
    if (shown_) QGuiApplication::restoreOverrideCursor();
}
