#include "ErrorGuard.h"

#include <QString>

#include "MessageBoxes.h"

void ReportHandlerError(const std::exception& error) {
    ShowError(QString::fromUtf8(error.what()));
}

void ReportUnknownHandlerError() {
    ShowError(QStringLiteral("Unknown error"));
}
