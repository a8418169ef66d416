#include "ui/qt/ApplicationTitle.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString& StoredTitle() {
    static QString title;
    return title;
}
}  // namespace

QString ApplicationTitle() {
    if (StoredTitle().isEmpty()) {
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    }
    return StoredTitle();
}

void SetApplicationTitle(const QString& title) {
    StoredTitle() = title;
}
