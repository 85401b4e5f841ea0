#include "quote-server/QuoteServer.h"

#include "ledger/SeedList.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace corvanta::tools {

namespace {

constexpr qsizetype maxHeaderBytes = 64 * 1024;
constexpr qsizetype oversizeBytes = 2 * 1024 * 1024;

QByteArray statusText(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}

QByteArray response(int status, const QByteArray& body, const QByteArray& extraHeaders = {})
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + statusText(status) +
           "\r\nContent-Type: text/html; charset=GBK\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + extraHeaders + "\r\n" +
           body;
}

std::optional<ReceivedRequest> parseHead(const QByteArray& head)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    if (first.size() != 3)
        return std::nullopt;
    ReceivedRequest request{first[0], first[1], first[2], {}};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(),
                                   line.mid(colon + 1).trimmed());
    }
    return request;
}

// The path and query of an origin-form or absolute-form target.
QUrl targetUrl(const QByteArray& target)
{
    const QUrl url = QUrl::fromEncoded(target);
    return url.isRelative() ? QUrl::fromEncoded("http://localhost" + target) : url;
}

} // namespace

QByteArray toGbk(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

QList<ListedStock> shippedStocks()
{
    QList<ListedStock> stocks;
    for (const ledger::SeedStock& seed : ledger::loadSeedList()) {
        if (seed.code != u"000000"_s)
            stocks.append({seed.code, seed.name});
    }
    return stocks;
}

QuoteServer::QuoteServer(const QList<ListedStock>& stocks, QuoteServerOptions options,
                         QObject* parent)
    : QObject(parent), m_book(stocks, options.seed), m_options(std::move(options))
{
    connect(&m_server, &QTcpServer::newConnection, this, &QuoteServer::onConnection);
}

bool QuoteServer::listen(const QHostAddress& address, quint16 port)
{
    return m_server.listen(address, port);
}

quint16 QuoteServer::port() const
{
    return m_server.serverPort();
}

QUrl QuoteServer::address() const
{
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(m_server.serverAddress().toString());
    url.setPort(port());
    return url;
}

QString QuoteServer::errorString() const
{
    return m_server.errorString();
}

void QuoteServer::setOptions(QuoteServerOptions options)
{
    m_options = std::move(options);
}

void QuoteServer::onConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void QuoteServer::onReadable(QTcpSocket* socket)
{
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        if (buffer.size() > maxHeaderBytes)
            socket->abort();
        else
            socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("answered", true);
    const std::optional<ReceivedRequest> request = parseHead(buffer.left(end));
    if (!request) {
        socket->write(response(400, {}));
        socket->disconnectFromHost();
        return;
    }
    m_requests.append(*request);
    emit requestReceived(*request);
    QTimer::singleShot(m_options.delay, socket,
                       [this, socket, r = *request] { answer(socket, r); });
}

void QuoteServer::answer(QTcpSocket* socket, const ReceivedRequest& request)
{
    static const QRegularExpression pagePath(u"^/htmdata/html/([0-9A-Za-z]{1,8})\\.htm$"_s);
    const QUrl url = targetUrl(request.target);
    const QRegularExpressionMatch match = pagePath.match(url.path());
    const QString code = match.captured(1);
    if (request.method != "GET" || !match.hasMatch() || !m_book.lists(code)) {
        socket->write(response(404, toGbk(u"没有这个页面"_s)));
        socket->disconnectFromHost();
        return;
    }
    Answer kind = m_options.byCode.value(code, m_options.answer);
    if (kind == Answer::Redirect && url.query() == u"moved=1"_s)
        kind = Answer::Page;
    switch (kind) {
    case Answer::Drop:
        socket->abort();
        return;
    case Answer::Hang:
        return;
    case Answer::Error:
        socket->write(response(m_options.errorStatus, toGbk(u"服务器忙"_s)));
        break;
    case Answer::Redirect:
        socket->write(response(302, {}, "Location: " + url.path().toUtf8() + "?moved=1\r\n"));
        break;
    case Answer::Page:
    case Answer::OneLine:
    case Answer::Oversize:
        socket->write(response(200, page(code, kind)));
        break;
    }
    socket->disconnectFromHost();
}

QByteArray QuoteServer::page(const QString& code, Answer kind)
{
    const QString title = m_book.name(code) + u"(" + code + u") 实时行情";
    if (kind == Answer::OneLine)
        return toGbk(title + u"\r\n");
    const QString record = m_book.nextRecord(code, QDateTime::currentDateTime());
    QByteArray body = toGbk(title + u"\r\n" + record + u"\r\n" + u"行情仅供参考\r\n");
    if (kind == Answer::Oversize)
        body.append(QByteArray(oversizeBytes, ' '));
    return body;
}

} // namespace corvanta::tools
