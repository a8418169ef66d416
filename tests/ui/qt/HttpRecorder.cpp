#include "HttpRecorder.h"

#include <QTcpSocket>

const QString HttpRecorder::kPageTitle = QStringLiteral("Zelk tool page");

namespace {

// No favicon request: the page says it has none.
const QByteArray kPage =
    "<!doctype html><html><head><meta charset=\"utf-8\"><title>Zelk tool page</title>"
    "<link rel=\"icon\" href=\"data:,\"></head><body><p>拆字</p>"
    "<a id=\"out\" href=\"/qvx/tools/zelk/second\" target=\"_blank\">second</a></body></html>";

}  // namespace

HttpRecorder::HttpRecorder() {
    connect(&server_, &QTcpServer::newConnection, this, &HttpRecorder::accept);
    server_.listen(QHostAddress::LocalHost, 0);
}

QString HttpRecorder::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void HttpRecorder::accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        socket->setProperty("buffer", QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { handle(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void HttpRecorder::handle(QTcpSocket* socket) {
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        socket->setProperty("buffer", buffer);
        return;
    }
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    Request request;
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    qsizetype contentLength = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon <= 0) continue;
        const QByteArray name = lines[i].left(colon).trimmed().toLower();
        request.headerNames << name;
        if (name == "content-length")
            contentLength = lines[i].mid(colon + 1).trimmed().toLongLong();
    }
    const qsizetype received = buffer.size() - headerEnd - 4;
    if (received < contentLength) {
        socket->setProperty("buffer", buffer);
        return;
    }
    request.bodySize = std::max(received, contentLength);
    socket->setProperty("buffer", QByteArray());
    requests_ << request;
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                  QByteArray::number(kPage.size()) + "\r\nConnection: close\r\n\r\n" + kPage);
    socket->disconnectFromHost();
}
