#pragma once

#include "QuoteSource.h"

#include <QUrl>

namespace corvanta::market {

// "新浪": GET "/list=sh600000,sz000001" on its quote host, with the finance site as
// Referer (the host answers 403 without one). The GBK reply holds one
// `var hq_str_sh600000="name,open,previous close,last,high,low,bid,ask,volume in
// shares,turnover in yuan,<five bids, five asks>,date,time,status";` line per code;
// an unknown code's line is empty (`=""`). The source has no split of the volume
// into active buying and selling, so those fields are "-".
class SinaQuoteSource final : public QuoteSource {
public:
    // `host` is an http or https address without a path (see SourceHosts.h).
    explicit SinaQuoteSource(QUrl host);

    static QString sourceName();
    static constexpr qsizetype batchSize = 100;
    static constexpr QByteArrayView referer = "https://finance.sina.com.cn/";

    QString name() const override { return sourceName(); }
    qsizetype codesPerRequest() const override { return batchSize; }
    QNetworkRequest request(const QStringList& codes) const override;
    std::optional<QStringList> records(const QByteArray& body,
                                       const QStringList& codes) const override;

    const QUrl& host() const { return m_host; }

private:
    QUrl m_host;
};

// One payload (the text between the quotes) as a record line of the code; none when
// it is empty or not in the layout.
std::optional<QString> sinaRecord(const QString& code, const QString& payload);

} // namespace corvanta::market
