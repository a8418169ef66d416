#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTcpServer>

// A tiny HTTP server on the loopback address that records every request and
// answers each with the same small page.
class HttpRecorder : public QObject {
    Q_OBJECT

  public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QList<QByteArray> headerNames;  // in the order sent, lower case
        qsizetype bodySize = 0;
    };

    HttpRecorder();
    quint16 port() const { return server_.serverPort(); }
    QString url(const QString& path) const;
    const QList<Request>& requests() const { return requests_; }

    static const QString kPageTitle;

  private:
    void accept();
    void handle(class QTcpSocket* socket);

    QTcpServer server_;
    QList<Request> requests_;
};
