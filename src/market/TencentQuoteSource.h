#pragma once

#include "QuoteSource.h"

#include <QUrl>

namespace corvanta::market {

// "腾讯": GET "/q=sh600000,sz000001" on its quote host, no special header. The GBK
// reply holds one `v_sh600000="1~name~600000~last~previous close~open~volume~outer~
// inner~...";` line per known code, fields separated by "~"; a request without any
// known code gets `v_pv_none_match="1";`. Only lines of requested codes are kept.
class TencentQuoteSource final : public QuoteSource {
public:
    // `host` is an http or https address without a path (see SourceHosts.h).
    explicit TencentQuoteSource(QUrl host);

    static QString sourceName();
    static constexpr qsizetype batchSize = 100;

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
// it is not in the layout or is another code's.
std::optional<QString> tencentRecord(const QString& code, const QString& payload);

} // namespace corvanta::market
