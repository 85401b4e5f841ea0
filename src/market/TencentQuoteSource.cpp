#include "TencentQuoteSource.h"

#include "BrowserHeaders.h"
#include "QuotePageSource.h"
#include "SourceRecord.h"

#include <QDate>
#include <QTime>

using namespace Qt::StringLiterals;

namespace corvanta::market {

namespace {

// Up to the turnover in 万元 at index 37; indexes have shorter lines than stocks
// but still this many.
constexpr qsizetype fieldsNeeded = 38;

// The STAR market's volume comes in shares, every other board's in lots.
bool volumeInShares(QStringView code)
{
    return code.startsWith(u"688") || code.startsWith(u"689");
}

// The turnover in yuan: the exact amount inside "price/volume/amount", else the
// rounded 万元 figure.
std::optional<QString> turnoverYuan(const QString& triple, const QString& tenThousands)
{
    const QStringList parts = triple.split(u'/');
    if (parts.size() == 3 && decimalValue(parts[2]))
        return parts[2];
    if (const std::optional<double> value = decimalValue(tenThousands))
        return withDecimals(*value * 10000, 0);
    return std::nullopt;
}

} // namespace

TencentQuoteSource::TencentQuoteSource(QUrl host) : m_host(std::move(host)) {}

QString TencentQuoteSource::sourceName()
{
    return u"腾讯"_s;
}

QNetworkRequest TencentQuoteSource::request(const QStringList& codes) const
{
    QUrl url = m_host;
    url.setPath(u"/q="_s + prefixedCodes(codes).join(u','));
    QNetworkRequest request(url);
    request.setRawHeader("User-Agent", browserUserAgent.toByteArray());
    request.setRawHeader("Accept", "*/*");
    return request;
}

std::optional<QString> tencentRecord(const QString& code, const QString& payload)
{
    const QStringList f = payload.split(u'~');
    if (f.size() < fieldsNeeded || f[2] != code.right(6))
        return std::nullopt;
    const std::optional<double> last = decimalValue(f[3]);
    const std::optional<double> previousClose = decimalValue(f[4]);
    if (!last || !previousClose)
        return std::nullopt;

    SourceRecord r;
    r.code = code;
    // Beijing time as the exchange's clock reads it: no time zone is applied.
    const QDate date = QDate::fromString(f[30].left(8), u"yyyyMMdd"_s);
    const QTime time = QTime::fromString(f[30].mid(8), u"HHmmss"_s);
    if (f[30].size() == 14 && date.isValid() && time.isValid()) {
        r.date = date.toString(u"yyyy-MM-dd"_s);
        r.time = time.toString(u"HH:mm:ss"_s);
    }
    r.price = priceOrDash(f[3]);
    if (*last > 0) {
        if (decimalValue(f[31]))
            r.change = f[31];
        if (decimalValue(f[32]))
            r.changeRatio = f[32];
    }
    std::optional<double> shares = decimalValue(f[6]);
    if (shares && !volumeInShares(code))
        *shares *= 100;
    const std::optional<QString> turnover = turnoverYuan(f[35], f[37]);
    r.lots = lotsOfShares(shares);
    r.volume = shares ? withDecimals(*shares, 0) : u"-"_s;
    r.turnover = turnover.value_or(u"-"_s);
    r.averagePrice = averageOf(turnover ? decimalValue(*turnover) : std::nullopt, shares);
    if (decimalValue(f[7]))
        r.activeBuy = f[7];
    if (decimalValue(f[8]))
        r.activeSell = f[8];
    r.previousClose = priceOrDash(f[4]);
    r.open = priceOrDash(f[5]);
    r.high = priceOrDash(f[33]);
    r.low = priceOrDash(f[34]);
    return r.line();
}

std::optional<QStringList> TencentQuoteSource::records(const QByteArray& body,
                                                       const QStringList& codes) const
{
    const QString text = gbkText(body);
    if (!text.trimmed().startsWith(u"v_"_s))
        return std::nullopt;
    // `v_pv_none_match` has no code key, so it never counts.
    return recordsOfCodes(text, u"v_", codes, tencentRecord);
}

} // namespace corvanta::market
