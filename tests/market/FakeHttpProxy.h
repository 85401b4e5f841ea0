#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

namespace corvanta::market {

// A plain HTTP proxy on loopback for tests: it takes absolute-form GET requests,
// records their request lines, forwards them to the target in origin form and
// relays the answer. One request per connection.
class FakeHttpProxy : public QObject {
    Q_OBJECT

public:
    explicit FakeHttpProxy(QObject* parent = nullptr);
    bool listen();
    quint16 port() const { return m_server.serverPort(); }
    const QByteArrayList& requestLines() const { return m_requestLines; }

private:
    void onConnection();
    void onReadable(QTcpSocket* client);

    QTcpServer m_server;
    QByteArrayList m_requestLines;
};

} // namespace corvanta::market
