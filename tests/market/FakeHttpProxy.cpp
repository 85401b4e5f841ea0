#include "FakeHttpProxy.h"

#include <QTcpSocket>
#include <QUrl>

namespace corvanta::market {

FakeHttpProxy::FakeHttpProxy(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FakeHttpProxy::onConnection);
}

bool FakeHttpProxy::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

void FakeHttpProxy::onConnection()
{
    while (QTcpSocket* client = m_server.nextPendingConnection()) {
        client->setParent(this);
        connect(client, &QTcpSocket::readyRead, this, [this, client] { onReadable(client); });
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    }
}

void FakeHttpProxy::onReadable(QTcpSocket* client)
{
    if (client->property("forwarded").toBool())
        return;
    const QByteArray buffer = client->property("buffer").toByteArray() + client->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        client->setProperty("buffer", buffer);
        return;
    }
    client->setProperty("forwarded", true);
    QByteArrayList lines = buffer.left(end).split('\n');
    const QByteArray requestLine = lines.takeFirst().trimmed();
    m_requestLines.append(requestLine);

    const QByteArrayList parts = requestLine.split(' ');
    const QUrl target = QUrl::fromEncoded(parts.value(1));
    if (parts.size() != 3 || target.isRelative() || target.scheme() != QLatin1String("http")) {
        client->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
        client->disconnectFromHost();
        return;
    }
    QByteArray head = parts[0] + ' ' +
                      target.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority) +
                      " HTTP/1.1\r\n";
    for (const QByteArray& line : lines) {
        const QByteArray name = line.left(line.indexOf(':')).trimmed().toLower();
        if (!name.startsWith("proxy-") && name != "connection")
            head += line.trimmed() + "\r\n";
    }
    head += "Connection: close\r\n\r\n";

    auto* upstream = new QTcpSocket(client);
    connect(upstream, &QTcpSocket::connected, upstream,
            [upstream, head] { upstream->write(head); });
    connect(upstream, &QTcpSocket::readyRead, client,
            [client, upstream] { client->write(upstream->readAll()); });
    connect(upstream, &QTcpSocket::disconnected, client,
            [client] { client->disconnectFromHost(); });
    connect(upstream, &QTcpSocket::errorOccurred, client, [client, upstream] {
        if (upstream->state() != QAbstractSocket::ConnectedState && !upstream->bytesAvailable() &&
            upstream->property("answered").isNull()) {
            client->write("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n");
            client->disconnectFromHost();
        }
    });
    connect(upstream, &QTcpSocket::readyRead, upstream,
            [upstream] { upstream->setProperty("answered", true); });
    upstream->connectToHost(target.host(), quint16(target.port(80)));
}

} // namespace corvanta::market
