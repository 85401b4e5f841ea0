#include "quote-server/QuoteServer.h"

#include "ledger/SeedList.h"

#include <QDateTime>
#include <QFile>
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
    case 403:
        return "Forbidden";
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

QHash<QString, QString> fixtureLines(Layout layout)
{
    QHash<QString, QString> lines;
    if (layout == Layout::Page)
        return lines;
    QFile file(layout == Layout::Sina ? u":/quote-server/fixtures/sina.txt"_s
                                      : u":/quote-server/fixtures/tencent.txt"_s);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    const QString prefix = layout == Layout::Sina ? u"var hq_str_"_s : u"v_"_s;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(prefix))
            lines.insert(line.mid(prefix.size(), 8), line.trimmed());
    }
    return lines;
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
    : QObject(parent), m_book(stocks, options.seed), m_options(std::move(options)),
      m_fixtures(fixtureLines(m_options.layout))
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
    m_fixtures = fixtureLines(m_options.layout);
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
    Q_EMIT requestReceived(*request);
    QTimer::singleShot(m_options.delay, socket,
                       [this, socket, r = *request] { answer(socket, r); });
}

void QuoteServer::answer(QTcpSocket* socket, const ReceivedRequest& request)
{
    const QUrl url = targetUrl(request.target);
    if (m_options.layout == Layout::Page)
        answerPage(socket, url, request);
    else
        answerList(socket, url, request);
}

void QuoteServer::send(QTcpSocket* socket, const QByteArray& bytes)
{
    if (!m_options.splitReply) {
        socket->write(bytes);
        socket->disconnectFromHost();
        return;
    }
    // Half now and the rest a little later: the client reads the reply in pieces.
    const qsizetype half = bytes.size() / 2;
    socket->write(bytes.left(half));
    socket->flush();
    QTimer::singleShot(30, socket, [socket, rest = bytes.mid(half)] {
        socket->write(rest);
        socket->disconnectFromHost();
    });
}

void QuoteServer::answerPage(QTcpSocket* socket, const QUrl& url, const ReceivedRequest& request)
{
    static const QRegularExpression pagePath(u"^/htmdata/html/([0-9A-Za-z]{1,8})\\.htm$"_s);
    const QRegularExpressionMatch match = pagePath.match(url.path());
    const QString code = match.captured(1);
    if (request.method != "GET" || !match.hasMatch() || !m_book.lists(code)) {
        send(socket, response(404, toGbk(u"没有这个页面"_s)));
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
        send(socket, response(m_options.errorStatus, toGbk(u"服务器忙"_s)));
        return;
    case Answer::Redirect:
        send(socket, response(302, {}, "Location: " + url.path().toUtf8() + "?moved=1\r\n"));
        return;
    case Answer::Empty:
        send(socket, response(200, {}));
        return;
    case Answer::Page:
    case Answer::OneLine:
    case Answer::Oversize:
        send(socket, response(200, page(code, kind)));
        return;
    }
}

void QuoteServer::answerList(QTcpSocket* socket, const QUrl& url, const ReceivedRequest& request)
{
    // The list after "list=" (Sina) or "q=" (Tencent), in the path or the query.
    const QString target =
        QUrl::fromPercentEncoding(url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority));
    const QString name = m_options.layout == Layout::Sina ? u"list="_s : u"q="_s;
    static const QRegularExpression listPattern(u"^/(?:\\?|rn=[0-9]+&)?(list|q)=([^&]*)$"_s);
    const QRegularExpressionMatch match = listPattern.match(target);
    if (request.method != "GET" || !match.hasMatch() || match.captured(1) + u"="_s != name) {
        send(socket, response(404, toGbk(u"没有这个页面"_s)));
        return;
    }
    // The host refuses whoever does not come from its finance site.
    if (m_options.layout == Layout::Sina &&
        !request.headers.value("referer").contains("sina.com.cn")) {
        send(socket, response(403, sinaRefusal.toByteArray()));
        return;
    }
    const QStringList keys = match.captured(2).split(u',', Qt::SkipEmptyParts);
    Answer kind = m_options.answer;
    for (const QString& key : keys) {
        const auto special = m_options.byCode.constFind(key.right(6));
        if (special != m_options.byCode.constEnd()) {
            kind = *special;
            break;
        }
    }
    switch (kind) {
    case Answer::Drop:
        socket->abort();
        return;
    case Answer::Hang:
        return;
    case Answer::Error:
        send(socket, response(m_options.errorStatus, toGbk(u"服务器忙"_s)));
        return;
    case Answer::Empty:
        send(socket, response(200, {}));
        return;
    case Answer::OneLine:
        send(socket, response(200, toGbk(u"<html>服务维护中</html>\n"_s)));
        return;
    case Answer::Redirect:
    case Answer::Page:
    case Answer::Oversize: {
        QByteArray body = m_options.layout == Layout::Sina ? sinaBody(keys) : tencentBody(keys);
        if (kind == Answer::Oversize)
            body.append(QByteArray(oversizeBytes, ' '));
        send(socket, response(200, body));
        return;
    }
    }
}

// One line per requested code, in the request's order; an unknown code's is empty.
QByteArray QuoteServer::sinaBody(const QStringList& keys)
{
    QString text;
    for (const QString& key : keys) {
        const QString code = key.right(6);
        if (const auto fixture = m_fixtures.constFind(key); fixture != m_fixtures.constEnd())
            text += *fixture + u"\n"_s;
        else if (key.size() == 8 && m_book.lists(code))
            text += u"var hq_str_"_s + key + u"=\""_s +
                    m_book.nextSinaPayload(code, QDateTime::currentDateTime()) + u"\";\n"_s;
        else
            text += u"var hq_str_"_s + key + u"=\"\";\n"_s;
    }
    return toGbk(text);
}

// One line per known code; unknown and unprefixed codes are left out, and a reply
// with no line at all is `v_pv_none_match="1";`.
QByteArray QuoteServer::tencentBody(const QStringList& keys)
{
    QString text;
    for (const QString& key : keys) {
        const QString code = key.right(6);
        if (const auto fixture = m_fixtures.constFind(key); fixture != m_fixtures.constEnd())
            text += *fixture + u"\n"_s;
        else if (key.size() == 8 && m_book.lists(code))
            text += u"v_"_s + key + u"=\""_s +
                    m_book.nextTencentPayload(code, QDateTime::currentDateTime()) + u"\";\n"_s;
    }
    if (text.isEmpty())
        text = u"v_pv_none_match=\"1\";\n"_s;
    return toGbk(text);
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
