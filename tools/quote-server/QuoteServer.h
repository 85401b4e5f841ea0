#pragma once

#include "quote-server/QuoteBook.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTcpServer>
#include <QUrl>

#include <chrono>
#include <memory>

class QTcpSocket;

namespace corvanta::tools {

// How the server answers a page request.
enum class Answer {
    Page,     // the title line, the record line, a closing line
    OneLine,  // the title line only
    Error,    // the error status of the options
    Drop,     // the connection is closed without a reply
    Hang,     // nothing is ever sent
    Oversize, // a page of 2 MiB
    Redirect, // 302 to the same page with "?moved=1", which is then answered
    Empty,    // 200 with an empty body
};

// Whose replies the server imitates.
enum class Layout {
    Page,    // the quote page per stock: GET /htmdata/html/<code>.htm
    Sina,    // GET /list=sh600000,sz000001 (also /?list= and /rn=...&list=)
    Tencent, // GET /q=sh600000,sz000001 (also /?q=)
};

struct QuoteServerOptions {
    std::chrono::milliseconds delay{0}; // before each answer
    Answer answer = Answer::Page;       // for every code not listed below
    QHash<QString, Answer> byCode;      // answers for single codes
    int errorStatus = 500;
    quint32 seed = 1;
    Layout layout = Layout::Page;
    // The reply goes out in two writes some milliseconds apart, so the client reads
    // it in pieces.
    bool splitReply = false;
};

// One request as it arrived: the request line's parts and the headers (names in
// lower case).
struct ReceivedRequest {
    QByteArray method;
    QByteArray target;
    QByteArray version;
    QHash<QByteArray, QByteArray> headers;
};

// A quote server for trying and testing the program: quote pages in GBK at
// "/htmdata/html/" + code + ".htm" for the stocks it lists, 404 for anything else;
// or, in a real source's layout, that source's replies for lists of codes, with the
// lines of its fixture file served as they are. HTTP/1.1 with one request per
// connection.
class QuoteServer : public QObject {
    Q_OBJECT

public:
    QuoteServer(const QList<ListedStock>& stocks, QuoteServerOptions options,
                QObject* parent = nullptr);

    bool listen(const QHostAddress& address = QHostAddress::LocalHost, quint16 port = 0);
    quint16 port() const;
    QUrl address() const; // "http://127.0.0.1:port"
    QString errorString() const;

    void setOptions(QuoteServerOptions options);
    const QList<ReceivedRequest>& requests() const { return m_requests; }

Q_SIGNALS:
    void requestReceived(const corvanta::tools::ReceivedRequest& request);

private:
    void onConnection();
    void onReadable(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const ReceivedRequest& request);
    void answerPage(QTcpSocket* socket, const QUrl& url, const ReceivedRequest& request);
    void answerList(QTcpSocket* socket, const QUrl& url, const ReceivedRequest& request);
    QByteArray page(const QString& code, Answer answer);
    QByteArray sinaBody(const QStringList& keys);
    QByteArray tencentBody(const QStringList& keys);
    void send(QTcpSocket* socket, const QByteArray& bytes);

    QTcpServer m_server;
    QuoteBook m_book;
    QuoteServerOptions m_options;
    QHash<QString, QString> m_fixtures; // key ("sh600000") to its line, for the layout
    QList<ReceivedRequest> m_requests;
};

// The stocks of the shipped stock list, without its placeholder entry.
QList<ListedStock> shippedStocks();

// GBK bytes of a text.
QByteArray toGbk(const QString& text);

// The lines of a real source's fixture file by their key ("sh600000"); none for
// the page layout.
QHash<QString, QString> fixtureLines(Layout layout);

// The bodies a refused Sina request gets (HTTP 403; both are reported).
inline constexpr QByteArrayView sinaRefusal = "Kinsoku jikou desu!";

} // namespace corvanta::tools
