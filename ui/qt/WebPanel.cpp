#include "ui/qt/WebPanel.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QWebEnginePage>
#include <stdexcept>

#include "ui/ControlData.h"

void TWebBrowser::RequireUsableSandbox() {
    if (::geteuid() != 0 || qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") ||
        qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS")
            .contains(QStringLiteral("--no-sandbox")) ||
        QCoreApplication::arguments().contains(QStringLiteral("--no-sandbox"))) {
        return;
    }
    throw std::runtime_error(
        "The web panel cannot start as root with its sandbox on. Start the program as a normal "
        "user, or set QTWEBENGINE_DISABLE_SANDBOX=1");
}

TWebBrowser::TWebBrowser(QWidget* parent) : QWebEngineView(parent) {
    if (!page()) throw std::runtime_error("The web browser component could not be created");
}

void TWebBrowser::setControlData(const QString& base64Block) {
    namespace control_data = zelk::ui::control_data;
    const QByteArray block = QByteArray::fromBase64(base64Block.toLatin1());
    const std::optional<control_data::Extent> extent = control_data::ReadExtent(
        {reinterpret_cast<const std::uint8_t*>(block.constData()), std::size_t(block.size())});
    if (!extent) {
        controlData_.clear();  // unreadable: dropped, the browser starts fresh
        return;
    }
    controlData_ = base64Block;
    // Sized as at creation; the layout then gives the panel its place.
    const control_data::Pixels size = control_data::ExtentToPixels(*extent, 96.0);
    resize(size.width, size.height);
}

void TWebBrowser::Navigate(const QUrl& address) {
    if (!address.isValid() || address.isRelative()) {
        // The engine's own description, without trailing stops, blanks and
        // control characters.
        QString reason = address.errorString();
        while (!reason.isEmpty() && (reason.back() == QLatin1Char('.') || reason.back() <= u' ')) {
            reason.chop(1);
        }
        QString message = QStringLiteral("Invalid address '%1'").arg(address.toString());
        if (!reason.isEmpty()) message += QStringLiteral(": ") + reason;
        throw std::runtime_error(message.toStdString());
    }
    load(address);
}

QWebEngineView* TWebBrowser::createWindow(QWebEnginePage::WebWindowType) {
    return this;
}
