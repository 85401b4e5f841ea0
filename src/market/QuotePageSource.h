#pragma once

#include "QuoteSource.h"

#include <QUrl>

namespace corvanta::market {

// The quote server's page per stock: GET "/htmdata/html/" + code + ".htm"; the reply
// is GBK text whose second line is the stock's record.
class QuotePageSource final : public QuoteSource {
public:
    // `server` is an http address without a path (see QuoteServerAddress.h).
    explicit QuotePageSource(QUrl server);

    static QString sourceName();

    QString name() const override { return sourceName(); }
    qsizetype codesPerRequest() const override { return 1; }
    QNetworkRequest request(const QStringList& codes) const override;
    std::optional<QStringList> records(const QByteArray& body,
                                       const QStringList& codes) const override;

    const QUrl& server() const { return m_server; }

private:
    QUrl m_server;
};

// The body decoded from GBK (as GB18030, its superset), whatever charset the reply
// claims. Bytes that are not GBK become replacement characters.
QString gbkText(const QByteArray& body);

// The body decoded from GBK (as GB18030, its superset) and split into lines at LF
// or CR LF. Bytes that are not GBK become replacement characters.
QStringList gbkLines(const QByteArray& body);

} // namespace corvanta::market
