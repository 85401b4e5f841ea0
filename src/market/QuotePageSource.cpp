#include "QuotePageSource.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace corvanta::market {

QuotePageSource::QuotePageSource(QUrl server) : m_server(std::move(server)) {}

QString QuotePageSource::sourceName()
{
    return u"金融界"_s;
}

QNetworkRequest QuotePageSource::request(const QStringList& codes) const
{
    QUrl url = m_server;
    url.setPath(u"/htmdata/html/"_s + codes.value(0) + u".htm"_s);
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/html, */*");
    request.setRawHeader("User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
    return request;
}

std::optional<QStringList> QuotePageSource::records(const QByteArray& body,
                                                    const QStringList& /*codes*/) const
{
    const QStringList lines = gbkLines(body);
    if (lines.size() < 2)
        return std::nullopt;
    return QStringList{lines[1]};
}

QString gbkText(const QByteArray& body)
{
    QStringDecoder decoder("GB18030");
    return decoder.isValid() ? decoder.decode(body) : QString::fromLatin1(body);
}

QStringList gbkLines(const QByteArray& body)
{
    QStringList lines = gbkText(body).split(u'\n');
    // A final line break ends the last line rather than starting an empty one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace corvanta::market
